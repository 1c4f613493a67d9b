// The keep-or-revert box: countdown text and timing, keys, buttons, close box, the modal
// helper's answer, layout and look. Runs in real time, so every countdown is short.
#include "GUIGDIPlusMfcFrameMsgBox.h"
#include "GuiTestApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using Box = CGUIGDIPlusMfcFrameMsgBox;

const QString kMessage = QStringLiteral("Keep these settings?");
const QString kFormat = QStringLiteral("Reverting in %d seconds.");

QString CountdownFor(int seconds) {
    return QStringLiteral("Reverting in %1 seconds.").arg(seconds);
}

QLabel* MessageLine(const Box& box) {
    return box.findChild<QLabel*>(QStringLiteral("1001"));
}
QLabel* CountdownLine(const Box& box) {
    return box.findChild<QLabel*>(QStringLiteral("1002"));
}
QPushButton* RevertButton(const Box& box) {
    return box.findChild<QPushButton*>(QStringLiteral("1004"));
}
QPushButton* KeepButton(const Box& box) {
    return box.findChild<QPushButton*>(QStringLiteral("1000"));
}

// Pixels of a dialog-unit rectangle at 1.5 px across and 1.75 px down per unit.
QRect DuToPx(int x, int y, int w, int h) {
    return QRect(qRound(x * 1.5), qRound(y * 1.75), qRound(w * 1.5), qRound(h * 1.75));
}

// The box in exec() right now, once it is active so keys reach its focused button.
Box* ActiveBox() {
    auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
    if (box != nullptr && !QTest::qWaitForWindowActive(box)) return nullptr;
    return box;
}

// Like a keyboard: to whatever has the focus, the box itself when nothing has.
void PressKey(Box& box, Qt::Key key) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : &box, key);
}

class KeepRevertBoxTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureGuiApp(); }
};

// ---- what the operator does, and what comes out -------------------------------------

struct ActionCase {
    const char* name;
    std::function<void(Box&)> act;
    int result;   // exec() of the box
    int decision; // Decision() afterwards
    int answer;   // ShowKeepRevertBox
};

void Keys(Box& box, std::initializer_list<Qt::Key> keys) {
    for (Qt::Key key : keys)
        PressKey(box, key);
}

const std::vector<ActionCase>& ActionCases() {
    static const std::vector<ActionCase> cases = {
        {"Return on Revert", [](Box& b) { Keys(b, {Qt::Key_Return}); }, 1004, 1004, 1004},
        {"keypad Enter on Revert", [](Box& b) { Keys(b, {Qt::Key_Enter}); }, 1004, 1004, 1004},
        {"Space on Revert", [](Box& b) { Keys(b, {Qt::Key_Space}); }, 1004, 1004, 1004},
        {"Tab, Return",
         [](Box& b) {
             Keys(b, {Qt::Key_Tab, Qt::Key_Return});
         },
         2, 0, 0},
        {"Tab, keypad Enter",
         [](Box& b) {
             Keys(b, {Qt::Key_Tab, Qt::Key_Enter});
         },
         2, 0, 0},
        {"Tab, Space",
         [](Box& b) {
             Keys(b, {Qt::Key_Tab, Qt::Key_Space});
         },
         2, 0, 0},
        {"Tab, Tab wraps back to Revert",
         [](Box& b) {
             Keys(b, {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return});
         },
         1004, 1004, 1004},
        {"click Keep Changes", [](Box& b) { QTest::mouseClick(KeepButton(b), Qt::LeftButton); }, 2,
         0, 0},
        {"click Revert", [](Box& b) { QTest::mouseClick(RevertButton(b), Qt::LeftButton); }, 1004,
         1004, 1004},
        {"close box", [](Box& b) { b.close(); }, 2, 1004, 2},
        {"reject", [](Box& b) { b.reject(); }, 2, 1004, 2},
        {"Escape, then Return",
         [](Box& b) {
             Keys(b, {Qt::Key_Escape});
             EXPECT_TRUE(b.isVisible());
             Keys(b, {Qt::Key_Return});
         },
         1004, 1004, 1004},
        {"Return with nothing focused does nothing",
         [](Box& b) {
             RevertButton(b)->clearFocus();
             ASSERT_EQ(QApplication::focusWidget(), nullptr);
             Keys(b, {Qt::Key_Return, Qt::Key_Enter});
             EXPECT_TRUE(b.isVisible());
             b.close();
         },
         2, 1004, 2},
    };
    return cases;
}

TEST_F(KeepRevertBoxTest, ActionsEndTheBoxWithTheirResultAndDecision) {
    for (const ActionCase& c : ActionCases()) {
        SCOPED_TRACE(c.name);
        Box box(kMessage, kFormat, 2);
        QTimer::singleShot(0, &box, [&] {
            Box* active = ActiveBox();
            ASSERT_EQ(active, &box);
            EXPECT_EQ(QApplication::focusWidget(), RevertButton(box));
            c.act(box);
        });
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(box.exec(), c.result);
        EXPECT_EQ(box.Decision(), c.decision);
        // Well before the countdown could have ended it.
        EXPECT_LT(clock.elapsed(), 900);
    }
}

TEST_F(KeepRevertBoxTest, ShowKeepRevertBoxAnswersZeroOnlyForKeep) {
    QWidget owner;
    for (const ActionCase& c : ActionCases()) {
        SCOPED_TRACE(c.name);
        QTimer::singleShot(0, qApp, [&] {
            Box* box = ActiveBox();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->parentWidget(), &owner);
            c.act(*box);
        });
        EXPECT_EQ(ShowKeepRevertBox(&owner, kMessage, kFormat, 2), c.answer);
    }
}

// ---- countdown ----------------------------------------------------------------------

struct Sample {
    int atMs;
    int shown;       // number on the countdown line
    int secondsLeft; // SecondsLeft()
};

TEST_F(KeepRevertBoxTest, TwoSecondCountdownShowsTwoTwiceThenOneAndEndsAfterThree) {
    Box box(kMessage, kFormat, 2);
    const std::vector<Sample> samples = {{300, 2, 2}, {1500, 2, 1}, {2500, 1, 0}};
    int taken = 0;
    for (const Sample& s : samples) {
        QTimer::singleShot(s.atMs, Qt::PreciseTimer, &box, [&box, &taken, s] {
            SCOPED_TRACE(s.atMs);
            EXPECT_TRUE(box.isVisible());
            EXPECT_EQ(CountdownLine(box)->text(), CountdownFor(s.shown));
            EXPECT_EQ(box.SecondsLeft(), s.secondsLeft);
            ++taken;
        });
    }
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(box.exec(), Box::kCancelResult);
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(taken, 3);
    EXPECT_EQ(box.Decision(), Box::kRevert);
    // A fourth tick would land at 4 s.
    EXPECT_GE(elapsed, 2900);
    EXPECT_LT(elapsed, 3900);
}

TEST_F(KeepRevertBoxTest, ZeroSecondsShowsZeroAndRevertsAfterOneTick) {
    QString shown;
    QTimer::singleShot(100, qApp, [&shown] {
        auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = CountdownLine(*box)->text();
    });
    QElapsedTimer clock;
    clock.start();
    const int answer = ShowKeepRevertBox(nullptr, kMessage, kFormat, 0);
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(shown, CountdownFor(0));
    EXPECT_EQ(answer, Box::kCancelResult);
    // The first tick closes it; a second would land at 2 s.
    EXPECT_GE(elapsed, 950);
    EXPECT_LT(elapsed, 1900);
}

TEST_F(KeepRevertBoxTest, EscapeIsSwallowedAndTheCountdownRunsOn) {
    Box box(kMessage, kFormat, 1);
    bool escapeAccepted = false;
    QTimer::singleShot(0, &box, [&] {
        ASSERT_EQ(ActiveBox(), &box);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(focused, &press);
        escapeAccepted = press.isAccepted();
        QTest::keyClick(focused, Qt::Key_Escape);
    });
    bool stillOpen = false;
    QTimer::singleShot(1500, Qt::PreciseTimer, &box, [&] {
        stillOpen = box.isVisible();
        EXPECT_EQ(box.SecondsLeft(), 0);
        EXPECT_EQ(CountdownLine(box)->text(), CountdownFor(1));
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(box.exec(), Box::kCancelResult);
    EXPECT_TRUE(escapeAccepted);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(box.Decision(), Box::kRevert);
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 1900);
    EXPECT_LT(elapsed, 2900);
}

// ---- text ---------------------------------------------------------------------------

struct FormatCase {
    const char* name;
    QString format;
    int seconds;
    QString expected;
};

TEST_F(KeepRevertBoxTest, CountdownLineIsTheFormatAppliedToTheSeconds) {
    const std::vector<FormatCase> cases = {
        {"plain", kFormat, 15, QStringLiteral("Reverting in 15 seconds.")},
        {"non-ASCII survives", QStringLiteral("Zurück in %d s … ok"), 3,
         QStringLiteral("Zurück in 3 s … ok")},
        {"printf flags", QStringLiteral("%05d left"), 42, QStringLiteral("00042 left")},
        {"negative", QStringLiteral("%d"), -1, QStringLiteral("-1")},
        {"capped at 127 characters", QString(200, u'x') + QStringLiteral("%d"), 9,
         QString(127, u'x')},
        {"exactly 127 kept", QString(125, u'y') + QStringLiteral("%d"), 10,
         QString(125, u'y') + QStringLiteral("10")},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        Box box(kMessage, c.format, c.seconds);
        EXPECT_EQ(CountdownLine(box)->text(), c.expected);
        EXPECT_EQ(MessageLine(box)->text(), kMessage);
        EXPECT_EQ(box.SecondsLeft(), c.seconds);
        EXPECT_EQ(box.Decision(), Box::kRevert);
    }
}

// ---- frame, layout and look ---------------------------------------------------------

TEST_F(KeepRevertBoxTest, FrameIsAFixedModalDialogWithCloseBoxAndNoHelp) {
    Box box(kMessage, kFormat, 2);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Quorvane Control Center Settings"));
    EXPECT_TRUE(box.isModal());
    EXPECT_TRUE(box.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(box.size(), DuToPx(0, 0, 257, 79).size());
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
}

struct PlaceCase {
    const char* id;
    QRect du;
};

TEST_F(KeepRevertBoxTest, ControlsSitAtTheirDialogUnitRectangles) {
    Box box(kMessage, kFormat, 2);
    const std::vector<PlaceCase> cases = {
        {"1004", {206, 38, 47, 14}},
        {"1000", {142, 38, 59, 14}},
        {"1001", {7, 10, 148, 10}},
        {"1002", {7, 64, 234, 8}},
    };
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.id);
        auto* w = box.findChild<QWidget*>(QLatin1String(c.id));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), DuToPx(c.du.x(), c.du.y(), c.du.width(), c.du.height()));
    }

    std::vector<QFrame*> lines;
    for (QFrame* f : box.findChildren<QFrame*>())
        if (f->frameShape() == QFrame::HLine) lines.push_back(f);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(lines[0]->geometry(), DuToPx(2, 57, 255, 1));

    EXPECT_EQ(RevertButton(box)->text(), QStringLiteral("Revert"));
    EXPECT_EQ(KeepButton(box)->text(), QStringLiteral("Keep Changes"));
    for (QPushButton* b : {RevertButton(box), KeepButton(box)}) {
        SCOPED_TRACE(b->text().toStdString());
        EXPECT_FALSE(b->autoDefault());
        EXPECT_FALSE(b->isDefault());
    }
}

TEST_F(KeepRevertBoxTest, MessageIsBlueArialOnWhiteAndTheBandIsWhite) {
    Box box(kMessage, kFormat, 2);
    QLabel* message = MessageLine(box);
    QLabel* countdown = CountdownLine(box);
    EXPECT_EQ(message->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(message->font().pixelSize(), 14);
    EXPECT_EQ(message->font().weight(), QFont::Normal);
    EXPECT_EQ(message->palette().color(QPalette::WindowText), QColor(0, 0, 200));
    EXPECT_EQ(message->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(message->autoFillBackground());
    EXPECT_EQ(countdown->font(), box.font());
    EXPECT_NE(countdown->font().pixelSize(), 14);

    // A dialog background that is not white, so white can only come from the band.
    const QColor grey(190, 200, 210);
    QPalette pal = box.palette();
    pal.setColor(QPalette::Window, grey);
    box.setPalette(pal);
    const QImage shot = box.grab().toImage();
    ASSERT_EQ(shot.size(), box.size());

    const QRect band = DuToPx(0, 0, 257, 32);
    const QRect msg = message->geometry();
    EXPECT_EQ(shot.pixelColor(band.right() - 2, band.center().y()), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(2, band.bottom() + 6), grey);
    // The label keeps its own white, and draws its text in the blue.
    EXPECT_EQ(shot.pixelColor(msg.right() - 1, msg.center().y()), QColor(Qt::white));
    int bluish = 0;
    for (int y = msg.top(); y <= msg.bottom(); ++y)
        for (int x = msg.left(); x <= msg.right(); ++x) {
            const QColor px = shot.pixelColor(x, y);
            if (px.blue() > 150 && px.red() < 60 && px.green() < 60) ++bluish;
        }
    EXPECT_GT(bluish, 10);
}

} // namespace
