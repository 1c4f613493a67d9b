#include "DiagnosticLog.h"
#include "UnwritableDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class DiagnosticLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        m_logDir = m_tmp.filePath(QStringLiteral("LogoFiles")) + QLatin1Char('/');
        SetLogDateTimeSource([this] {
            ++m_readings;
            return m_now;
        });
    }
    void TearDown() override { SetLogDateTimeSource({}); }

    QString logFile(const QString& name) const { return m_logDir + name; }

    QTemporaryDir m_tmp;
    QString m_logDir;
    QDateTime m_now = at(2020, 5, 7, 9, 8, 7);
    std::atomic<int> m_readings{0};
};

TEST_F(DiagnosticLogTest, LinesOfOneDayShareAFileWithCrLfEndings) {
    EXPECT_FALSE(QFileInfo::exists(m_logDir));
    EXPECT_EQ(WriteLogFileLine(1, m_logDir, QStringLiteral("first")), 1);
    EXPECT_TRUE(QFileInfo(m_logDir).isDir()) << "directory made on the first write";
    m_now = at(2020, 5, 7, 23, 59, 59);
    EXPECT_EQ(WriteLogFileLine(1, m_logDir, QStringLiteral("second")), 1);

    EXPECT_EQ(QDir(m_logDir).entryList(QDir::Files), QStringList{"2020.05.07.txt"});
    EXPECT_EQ(readAll(logFile("2020.05.07.txt")),
              QByteArray("[09:08:07]: first\r\n[23:59:59]: second\r\n"));
}

TEST_F(DiagnosticLogTest, FirstLineAfterMidnightStartsANewFile) {
    m_now = at(2020, 12, 31, 23, 59, 59);
    WriteLogFileLine(1, m_logDir, QStringLiteral("old year"));
    m_now = at(2021, 1, 1, 0, 0, 0);
    WriteLogFileLine(1, m_logDir, QStringLiteral("new year"));

    EXPECT_EQ(readAll(logFile("2020.12.31.txt")), QByteArray("[23:59:59]: old year\r\n"));
    EXPECT_EQ(readAll(logFile("2021.01.01.txt")), QByteArray("[00:00:00]: new year\r\n"));
}

TEST_F(DiagnosticLogTest, DateAndTimeAreReadOncePerLine) {
    // A clock that moves on at every reading: file name and stamp must still agree.
    SetLogDateTimeSource([this] {
        const QDateTime value = m_now;
        m_now = m_now.addSecs(1);
        ++m_readings;
        return value;
    });
    m_now = at(2020, 5, 7, 23, 59, 59);
    WriteLogFileLine(1, m_logDir, QStringLiteral("edge"));

    EXPECT_EQ(m_readings, 1);
    EXPECT_EQ(readAll(logFile("2020.05.07.txt")), QByteArray("[23:59:59]: edge\r\n"));
    EXPECT_FALSE(QFileInfo::exists(logFile("2020.05.08.txt")));
}

TEST_F(DiagnosticLogTest, DirectoryWithOrWithoutTrailingSeparatorNamesTheSameFile) {
    QString bare = m_logDir;
    bare.chop(1);
    WriteLogFileLine(1, bare, QStringLiteral("a"));
    WriteLogFileLine(1, m_logDir, QStringLiteral("b"));
    EXPECT_EQ(readAll(logFile("2020.05.07.txt")), QByteArray("[09:08:07]: a\r\n[09:08:07]: b\r\n"));
}

TEST_F(DiagnosticLogTest, LineBreaksInsideTheTextAlsoReachTheDiskAsCrLf) {
    WriteLogFileLine(1, m_logDir, QStringLiteral("one\ntwo"));
    EXPECT_EQ(readAll(logFile("2020.05.07.txt")), QByteArray("[09:08:07]: one\r\ntwo\r\n"));
}

TEST_F(DiagnosticLogTest, LineLongerThanTheOldBufferIsWrittenWhole) {
    const QString text(3000, QLatin1Char('x'));
    ASSERT_EQ(WriteLogFileLine(1, m_logDir, text), 1);
    const QByteArray content = readAll(logFile("2020.05.07.txt"));
    EXPECT_EQ(content.size(), 12 + 3000 + 2);
    EXPECT_EQ(content, QByteArray("[09:08:07]: ") + text.toLatin1() + "\r\n");
}

TEST_F(DiagnosticLogTest, NonAsciiTextIsWrittenAsUtf8) {
    const QString text = QStringLiteral("Größe – 解像度 ✓");
    WriteLogFileLine(1, m_logDir, text);
    const QByteArray content = readAll(logFile("2020.05.07.txt"));
    EXPECT_EQ(content, QByteArray("[09:08:07]: ") + text.toUtf8() + "\r\n");
    EXPECT_EQ(QString::fromUtf8(content).mid(12).chopped(2), text);
}

TEST_F(DiagnosticLogTest, ConcurrentWritersAppendWholeLines) {
    constexpr int kThreads = 4;
    constexpr int kLines = 50;
    const QString longText(500, QLatin1Char('y'));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kLines; ++i)
                WriteLogFileLine(1, m_logDir, QStringLiteral("t%1 ").arg(t) + longText);
        });
    for (auto& thread : threads)
        thread.join();

    const QList<QByteArray> lines = readAll(logFile("2020.05.07.txt")).split('\n');
    ASSERT_EQ(lines.size(), kThreads * kLines + 1); // the last piece is empty
    for (int i = 0; i < kThreads * kLines; ++i) {
        EXPECT_EQ(lines[i].size(), 12 + 3 + 500 + 1) << "line " << i;
        EXPECT_TRUE(lines[i].endsWith('\r')) << "line " << i;
    }
}

// Places a line cannot go: the line is dropped, 0 comes back, nothing is created.
struct UnwritableCase {
    const char* name;
    // Builds the situation inside root; returns the log directory to use, or an empty
    // string when this case cannot be built here (the test then skips).
    QString (*make)(const QString& root);
};

void PrintTo(const UnwritableCase& c, std::ostream* os) {
    *os << c.name;
}

QString missingParent(const QString& root) {
    return root + "/missing/LogoFiles/";
}

QString underRegularFile(const QString& root) {
    QFile f(root + "/plain.txt");
    if (!f.open(QIODevice::WriteOnly)) return {};
    return root + "/plain.txt/LogoFiles/";
}

QString readOnlyDirectory(const QString& root) {
    const QString dir = root + "/LogoFiles";
    QDir().mkdir(dir);
    // Where neither mode bits nor the immutable attribute hold, this case proves nothing.
    return kztr::test::MakeUnwritable(dir) ? dir + '/' : QString();
}

QString fileNameTakenByDirectory(const QString& root) {
    const QString dir = root + "/LogoFiles/";
    QDir().mkpath(dir + "2020.05.07.txt");
    return dir;
}

class DiagnosticLogUnwritableTest : public DiagnosticLogTest,
                                    public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(DiagnosticLogUnwritableTest, LineIsDroppedWithoutHarm) {
    const QString dir = GetParam().make(m_tmp.path());
    if (dir.isEmpty()) GTEST_SKIP() << "cannot make a read-only directory here";

    EXPECT_EQ(WriteLogFileLine(1, dir, QStringLiteral("lost")), 0);
    EXPECT_FALSE(QFileInfo(dir + "2020.05.07.txt").isFile());
    EXPECT_FALSE(QFileInfo::exists(m_tmp.path() + "/missing")) << "a missing parent is not made";
    // So that the temporary directory can be removed.
    if (QFileInfo(m_tmp.path() + "/LogoFiles").isDir())
        kztr::test::MakeWritableAgain(m_tmp.path() + "/LogoFiles");
}

INSTANTIATE_TEST_SUITE_P(Places, DiagnosticLogUnwritableTest,
                         ::testing::Values(UnwritableCase{"MissingParent", missingParent},
                                           UnwritableCase{"UnderRegularFile", underRegularFile},
                                           UnwritableCase{"ReadOnlyDirectory", readOnlyDirectory},
                                           UnwritableCase{"FileNameTakenByDirectory",
                                                          fileNameTakenByDirectory}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
