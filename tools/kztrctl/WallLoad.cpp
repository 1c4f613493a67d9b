#include "WallLoad.h"

#include "CommandLine.h"
#include "ConfigFields.h"
#include "CtlOutput.h"
#include "WallRun.h"

#include <algorithm>

namespace {

struct Target {
    const WallEntry* entry;
    std::vector<FoundController> holders; // the controllers with the entry's box ID now
};

QString changeLine(const ConfigChange& c) {
    return QStringLiteral("  %1: %2 -> %3").arg(c.field, c.before, c.after);
}

QStringList comList(const std::vector<FoundController>& controllers) {
    QStringList coms;
    for (const FoundController& c : controllers)
        coms << QStringLiteral("COM%1").arg(c.com);
    return coms;
}

// Why the load may not start; empty when it may.
QStringList refusals(const std::vector<Target>& targets, bool force) {
    QStringList problems;
    for (const Target& t : targets) {
        if (t.holders.size() > 1) {
            problems << QStringLiteral("box ID %1 is on %2; give them unique IDs with boxid")
                            .arg(t.entry->boxId)
                            .arg(comList(t.holders).join(QStringLiteral(" and ")));
            continue;
        }
        if (t.holders.empty() || force) continue;
        const QChar now = CtlSession::ModelLetter(t.holders[0].model);
        if (now != QLatin1Char(t.entry->model))
            problems << QStringLiteral("box ID %1: COM%2 holds a model %3 controller, the file "
                                       "one of model %4 (--force writes it anyway)")
                            .arg(t.entry->boxId)
                            .arg(t.holders[0].com)
                            .arg(now)
                            .arg(QLatin1Char(t.entry->model));
    }
    return problems;
}

// What loading one controller has to say, printed once every controller is done.
struct LoadReport {
    QStringList lines; // stdout
    QStringList notes; // stderr
    bool ok = false;   // it holds the file's fields afterwards (or, in a dry run, was read)
};

// One controller, the way set writes.
LoadReport loadOne(CtlSession& session, const WallEntry& entry, const FoundController& holder,
                   bool dryRun) {
    LoadReport report;
    const QString who = CtlSession::BoxLabel(holder);
    if (CtlSession::ModelLetter(holder.model) != QLatin1Char(entry.model))
        report.lines << QStringLiteral("%1: the file has a model %2 controller here (--force)")
                            .arg(who)
                            .arg(QLatin1Char(entry.model));
    QString error;
    if (!session.Connect(holder.com, error)) {
        report.notes << error;
        report.lines << who + QStringLiteral(": failed, nothing written");
        return report;
    }
    RZ8Full wanted = session.m_hCurRZ8Full;
    CopyConfigFields(entry.config, wanted);
    const std::vector<ConfigChange> changes = DiffConfig(session.m_hTmpRZ8Full, wanted);
    if (changes.empty()) {
        report.lines << who + QStringLiteral(": unchanged");
        report.ok = true;
        return report;
    }
    report.lines << who + (dryRun ? QStringLiteral(": would change") : QStringLiteral(": writing"));
    for (const ConfigChange& c : changes)
        report.lines << changeLine(c);
    if (dryRun) {
        report.ok = true;
        return report;
    }

    session.m_hCurRZ8Full = wanted;
    if (!session.WriteCurrent(error)) {
        report.notes << error;
        report.lines << QStringLiteral("  failed: %1").arg(error);
        return report;
    }
    const std::vector<ConfigChange> differ = DiffConfig(wanted, session.m_hTmpRZ8Full);
    if (differ.empty()) {
        report.lines << QStringLiteral("  read back: as written");
        report.ok = true;
        return report;
    }
    report.lines << QStringLiteral("  read back differently:");
    for (const ConfigChange& d : differ)
        report.lines
            << QStringLiteral("    %1: wanted %2, read back %3").arg(d.field, d.before, d.after);
    return report;
}

} // namespace

int LoadWall(CtlSession& session, const std::vector<WallEntry>& entries,
             const WallLoadOptions& options) {
    QStringList notes;
    const std::vector<FoundController> found = session.Scan(kCtlFirstCom, kCtlLastScanCom, &notes);
    for (const QString& n : notes)
        CtlNote(n);

    std::vector<Target> targets;
    for (const WallEntry& e : entries) {
        Target t{&e, {}};
        for (const FoundController& c : found)
            if (c.boxId == e.boxId) t.holders.push_back(c);
        targets.push_back(t);
    }
    const QStringList problems = refusals(targets, options.force);
    if (!problems.isEmpty()) {
        for (const QString& p : problems)
            CtlNote(p);
        CtlNote(QStringLiteral("load refused: nothing was written"));
        return kCtlExitRefused;
    }

    // Every controller found is written at the same time; the report keeps box-ID order.
    std::vector<const Target*> present;
    for (const Target& t : targets)
        if (!t.holders.empty()) present.push_back(&t);
    std::vector<LoadReport> reports(present.size());
    RunOnEachController(session, present.size(), [&](size_t p, CtlSession& link) {
        reports[p] = loadOne(link, *present[p]->entry, present[p]->holders[0], options.dryRun);
    });

    QStringList incomplete;
    size_t next = 0;
    for (const Target& t : targets) {
        if (t.holders.empty()) {
            CtlPrint(QStringLiteral("box ID %1: not found").arg(t.entry->boxId));
            incomplete << QStringLiteral("box ID %1 not found").arg(t.entry->boxId);
            continue;
        }
        const LoadReport& report = reports[next++];
        for (const QString& n : report.notes)
            CtlNote(n);
        CtlPrintLines(report.lines);
        if (!report.ok)
            incomplete << QStringLiteral("box ID %1 (COM%2) does not hold the file's values")
                              .arg(t.entry->boxId)
                              .arg(t.holders[0].com);
    }
    for (const FoundController& c : found) {
        const bool inFile = std::any_of(entries.begin(), entries.end(),
                                        [&](const WallEntry& e) { return e.boxId == c.boxId; });
        if (!inFile)
            CtlPrint(QStringLiteral("%1: not in the file, left alone")
                         .arg(CtlSession::ControllerLine(c)));
    }
    if (options.dryRun) CtlPrint(QStringLiteral("dry run: nothing was sent"));
    if (incomplete.isEmpty()) return kCtlExitOk;
    CtlNote(QStringLiteral("load incomplete: %1").arg(incomplete.join(QStringLiteral("; "))));
    return kCtlExitFailed;
}
