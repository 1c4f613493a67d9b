// Starts the real KZTRMaster twice: the second copy must leave at once, silently, with
// status 0, and the first must keep running.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

#ifndef KZTRMASTER_PATH
#error "KZTRMASTER_PATH must name the executable under test"
#endif

namespace {

// Where the lock lives: the user's runtime directory, or the temporary directory
// when the session has none.
enum class LockPlace { RuntimeDir, TempDirFallback };

class SingleInstanceTest : public ::testing::TestWithParam<LockPlace> {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_runtime.isValid());
        ASSERT_TRUE(m_home.isValid());
        // A private directory for the lock: copies started by other tests or by a
        // developer do not see this lock, and this test does not see theirs.
        m_env = QProcessEnvironment::systemEnvironment();
        if (GetParam() == LockPlace::RuntimeDir) {
            m_env.insert("XDG_RUNTIME_DIR", m_runtime.path());
        } else {
            m_env.remove("XDG_RUNTIME_DIR");
            m_env.insert("TMPDIR", m_runtime.path());
        }
        m_env.insert("QT_QPA_PLATFORM", "offscreen");
        m_env.remove("QT_LOGGING_RULES");
    }
    void TearDown() override {
        for (QProcess* p : {&m_first, &m_third})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
    }

    void start(QProcess& process) {
        process.setProcessEnvironment(m_env);
        process.setWorkingDirectory(m_home.path());
        process.start(QStringLiteral(KZTRMASTER_PATH), {});
        ASSERT_TRUE(process.waitForStarted(10000)) << process.errorString().toStdString();
    }

    // The first copy holds its lock once the lock file names it; a file that is there but
    // still empty is being written.
    bool waitForLockFile() {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000) {
            for (const QFileInfo& f : QDir(m_runtime.path()).entryInfoList(QDir::Files)) {
                qint64 pid = 0;
                QString host, app;
                if (f.fileName().startsWith("VEV8AdevevAvi") &&
                    QLockFile(f.filePath()).getLockInfo(&pid, &host, &app))
                    return true;
            }
            QThread::msleep(20);
        }
        return false;
    }

    // The lock file a copy of this user makes in the private directory.
    QString lockPath() const {
        return m_runtime.filePath(QStringLiteral("VEV8AdevevAvi-%1.lock").arg(getuid()));
    }

    QTemporaryDir m_runtime;
    QTemporaryDir m_home;
    QProcessEnvironment m_env;
    QProcess m_first;
    QProcess m_third;
};

TEST_P(SingleInstanceTest, SecondCopyExitsAtOnceSilentlyAndTheFirstRunsOn) {
    start(m_first);
    ASSERT_TRUE(waitForLockFile()) << "first copy never took its lock";

    QProcess second;
    QElapsedTimer took;
    took.start();
    start(second);
    ASSERT_TRUE(second.waitForFinished(10000)) << "second copy did not leave";
    const qint64 ms = took.elapsed();

    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_LT(ms, 3000) << "second copy took " << ms << " ms";
    EXPECT_EQ(second.readAllStandardOutput(), QByteArray());
    EXPECT_EQ(second.readAllStandardError(), QByteArray());
    EXPECT_EQ(m_first.state(), QProcess::Running) << "first copy was disturbed";
}

TEST_P(SingleInstanceTest, ALockLeftByAKilledCopyDoesNotKeepTheNextOneOut) {
    start(m_first);
    ASSERT_TRUE(waitForLockFile());
    m_first.kill(); // no chance to remove its lock file
    ASSERT_TRUE(m_first.waitForFinished(5000));
    ASSERT_TRUE(waitForLockFile()) << "the killed copy's lock file should still be there";

    start(m_third);
    EXPECT_FALSE(m_third.waitForFinished(1500)) << "the next copy refused to start";
    EXPECT_EQ(m_third.state(), QProcess::Running);
}

// A copy that died between making its lock file and writing itself into it leaves an
// empty file: it keeps others out only as long as it could still be being written.
TEST_P(SingleInstanceTest, AnOwnerlessLockFileKeepsCopiesOutOnlyBriefly) {
    QFile lock(lockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));

    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(10000)) << "a lock file just made did not count";
    EXPECT_EQ(second.exitCode(), 0);

    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime));
    lock.close();
    start(m_third);
    EXPECT_FALSE(m_third.waitForFinished(1500)) << "an old ownerless lock kept the copy out";
    EXPECT_EQ(m_third.state(), QProcess::Running);
    EXPECT_TRUE(waitForLockFile()) << "the copy did not take the lock over";
}

INSTANTIATE_TEST_SUITE_P(Places, SingleInstanceTest,
                         ::testing::Values(LockPlace::RuntimeDir, LockPlace::TempDirFallback),
                         [](const auto& info) {
                             return info.param == LockPlace::RuntimeDir ? "RuntimeDir"
                                                                        : "TempDirFallback";
                         });

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
