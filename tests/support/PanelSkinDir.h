#pragma once
// A module directory for main-frame tests: a private copy of the project's generated skin
// ("GUISkin/" beside where the executable would be), so a test may remove or spoil skin
// files and the frame's settings file and log folder land in a temporary place.
#include <QString>
#include <QTemporaryDir>

class PanelSkinDir {
public:
    PanelSkinDir();

    // False (with a reason in Error()) when the copy could not be made.
    bool IsValid() const { return m_bValid; }
    QString Error() const { return m_strError; }
    // The module directory to give the frame.
    QString Path() const { return m_dir.path(); }
    // A skin file by its path under GUISkin/, e.g. "GUIFrameMain/GUIFrameMainBKEn.tksx".
    QString SkinFile(const QString& relative) const;
    bool RemoveSkinFile(const QString& relative) const;

private:
    QTemporaryDir m_dir;
    bool m_bValid = false;
    QString m_strError;
};
