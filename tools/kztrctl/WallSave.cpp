#include "WallSave.h"

#include "CommandLine.h"
#include "CtlOutput.h"
#include "JsonOutput.h"
#include "WallFile.h"

#include <QDateTime>

namespace {

int refused(const QStringList& problems) {
    for (const QString& p : problems)
        CtlNote(p);
    CtlNote(QStringLiteral("nothing saved"));
    return kCtlExitFailed;
}

} // namespace

int SaveWall(CtlSession& session, int com, const QString& path) {
    std::vector<int> coms;
    if (com != 0) {
        coms.push_back(com);
    } else {
        QStringList notes;
        const std::vector<FoundController> found =
            session.Scan(kCtlFirstCom, kCtlLastScanCom, &notes);
        for (const QString& n : notes)
            CtlNote(n);
        if (found.empty())
            return refused({CtlSession::NothingFound(kCtlFirstCom, kCtlLastScanCom)});
        // Before reading anything: the IDs are known from the scan.
        const QStringList problems = UnkeyableControllers(found);
        if (!problems.isEmpty()) return refused(problems);
        for (const FoundController& c : found)
            coms.push_back(c.com);
    }

    std::vector<ControllerSnapshot> snapshots;
    std::vector<FoundController> read;
    for (int each : coms) {
        ControllerSnapshot snapshot;
        QString error;
        if (!session.ReadSnapshot(each, snapshot, error)) return refused({error});
        snapshots.push_back(snapshot);
        read.push_back(snapshot.controller);
    }
    // --com has not been scanned, and an ID may have changed since the scan.
    const QStringList problems = UnkeyableControllers(read);
    if (!problems.isEmpty()) return refused(problems);

    const QJsonObject wall = WallToJson(snapshots, QDateTime::currentDateTime());
    QString error;
    if (!WriteWallFile(path, wall, error)) return refused({error});
    for (const ControllerSnapshot& s : snapshots)
        CtlPrint(QStringLiteral("saved box ID %1 (COM%2, model %3)")
                     .arg(s.controller.boxId)
                     .arg(s.controller.com)
                     .arg(CtlSession::ModelLetter(s.controller.model)));
    // A controller may hold what set cannot give (20 Hz, a slider position beyond 9):
    // the file records it, and the operator learns now, not during a restore.
    for (const QString& e : ParseWall(JsonText(wall)).errors)
        CtlNote(
            QStringLiteral("warning: load will refuse %1 until this is edited: %2").arg(path, e));
    return kCtlExitOk;
}
