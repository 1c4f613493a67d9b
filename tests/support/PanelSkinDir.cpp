#include "PanelSkinDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

PanelSkinDir::PanelSkinDir() {
    const QDir source(QStringLiteral(KZTR_SKIN_DIR));
    if (!m_dir.isValid() || !source.exists()) {
        m_strError = QStringLiteral("no generated skin at %1").arg(source.path());
        return;
    }
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = SkinFile(source.relativeFilePath(from));
        if (!QDir().mkpath(QFileInfo(to).path()) || !QFile::copy(from, to)) {
            m_strError = QStringLiteral("cannot copy %1 to %2").arg(from, to);
            return;
        }
    }
    m_bValid = true;
}

QString PanelSkinDir::SkinFile(const QString& relative) const {
    return m_dir.filePath(QStringLiteral("GUISkin/") + relative);
}

bool PanelSkinDir::RemoveSkinFile(const QString& relative) const {
    return QFile::remove(SkinFile(relative));
}
