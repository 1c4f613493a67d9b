#include "ErrorBox.h"
#include "GUITextTable.h"
#include "GuiTestApp.h"
#include "MessageBoxErrorSink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Records each box it is asked to show, and on which thread.
class RecordingSink : public ErrorBoxSink {
public:
    struct Box {
        QString caption;
        QString text;
        QThread* thread;
    };
    void ShowErrorBox(const QString& caption, const QString& text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_boxes.push_back({caption, text, QThread::currentThread()});
        m_events.push_back("shown");
    }
    void note(const char* event) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(event);
    }
    std::vector<Box> boxes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_boxes;
    }
    std::vector<std::string> events() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_events;
    }

private:
    std::mutex m_mutex;
    std::vector<Box> m_boxes;
    std::vector<std::string> m_events;
};

class ErrorBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureGuiApp(); }
    void SetUp() override {
        GUITextTable::Instance().Fill();
        m_previous = SetErrorBoxSink(&m_sink);
    }
    void TearDown() override { SetErrorBoxSink(m_previous); }
    RecordingSink m_sink;
    ErrorBoxSink* m_previous = nullptr;
};

TEST_F(ErrorBoxTest, ShowsTheMessageUnderTheErrorCaption) {
    ShowErrorMessage(TextMsg::kInitializeFail);
    ShowErrorMessage(TextMsg::kHwResetFailA001);
    const auto boxes = m_sink.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Quorvane Error...");
    EXPECT_EQ(boxes[0].text, "KZTRMaster initialize fail.");
    EXPECT_EQ(boxes[1].text, "KZTRMaster hardware reset fail.\nErrorCode = 0xA001");
    EXPECT_EQ(boxes[1].thread, qApp->thread());
}

TEST_F(ErrorBoxTest, WorkerHandsTheBoxToTheGuiThreadAndWaitsForIt) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        ShowErrorMessage(TextMsg::kApplyFailA004);
        m_sink.note("worker resumed");
        done = true;
    });
    QElapsedTimer limit;
    limit.start();
    while (!done && limit.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();

    const auto boxes = m_sink.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "KZTRMaster apply fail.\nErrorCode = 0xA004");
    EXPECT_EQ(boxes[0].thread, qApp->thread()) << "widgets only on the GUI thread";
    EXPECT_EQ(m_sink.events(), (std::vector<std::string>{"shown", "worker resumed"}));
}

TEST_F(ErrorBoxTest, WithoutASinkNothingIsShownAndNothingBreaks) {
    SetErrorBoxSink(nullptr);
    ShowErrorMessage(TextMsg::kSwitchDeviceFail);
    EXPECT_TRUE(m_sink.boxes().empty());
}

TEST(MessageBoxErrorSinkTest, StandardBoxWithCriticalIconAndOneOkButton) {
    EnsureGuiApp();
    QWidget owner;
    MessageBoxErrorSink sink;
    sink.SetOwner(&owner);

    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* parent = nullptr;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no modal message box open";
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        parent = box->parentWidget();
        modal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });
    sink.ShowErrorBox(kErrorBoxCaption, QStringLiteral("line one\nline two"));

    EXPECT_EQ(title, "Quorvane Error...");
    EXPECT_EQ(text, "line one\nline two");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(parent, &owner);
    EXPECT_TRUE(modal);
}

} // namespace
