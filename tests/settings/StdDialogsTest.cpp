// The durations and box-ID dialogs driven through their real widgets, and the seam the main
// frame runs them through.
#include "StdDialogs.h"
#include "GuiTestApp.h"
#include "StdMfcDevBoxIdentifyDlg.h"
#include "StdMfcSettingDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

// Found by the checks' failure messages through the record's namespace.
static void PrintTo(const SettingDurationInfo& s, std::ostream* os) {
    *os << "{" << s.iPatternSec << ", " << s.iIdentifySec << ", " << s.iApplyConfirmSec << "}";
}

namespace {

QComboBox* List(QWidget& dlg, const char* id) {
    return dlg.findChild<QComboBox*>(QString::fromLatin1(id));
}

QPushButton* Button(QWidget& dlg, const char* text) {
    for (QPushButton* button : dlg.findChildren<QPushButton*>())
        if (button->text() == QLatin1String(text)) return button;
    return nullptr;
}

QStringList Items(const QComboBox& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items << list.itemText(i);
    return items;
}

QStringList Numbers(int first, int last) {
    QStringList numbers;
    for (int n = first; n <= last; ++n)
        numbers << QString::number(n);
    return numbers;
}

bool SameRecord(const SettingDurationInfo& a, const SettingDurationInfo& b) {
    return a.iPatternSec == b.iPatternSec && a.iIdentifySec == b.iIdentifySec &&
           a.iApplyConfirmSec == b.iApplyConfirmSec;
}

// The ways an operator leaves a dialog without confirming it.
struct CancelWay {
    const char* name;
    std::function<void(QDialog&)> act;
};

const std::vector<CancelWay>& CancelWays() {
    static const std::vector<CancelWay> ways = {
        {"Cancel button",
         [](QDialog& d) { QTest::mouseClick(Button(d, "Cancel"), Qt::LeftButton); }},
        {"Escape on the focused control",
         [](QDialog& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Escape); }},
        {"Escape on OK", [](QDialog& d) { QTest::keyClick(Button(d, "OK"), Qt::Key_Escape); }},
        {"close box", [](QDialog& d) { d.close(); }},
    };
    return ways;
}

class StdDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureGuiApp(); }
};

// --- Durations dialog -------------------------------------------------------------------

TEST_F(StdDialogsTest, SettingDlgOpensOnTheRecordsValues) {
    SettingDurationInfo record;
    CStdMfcSettingDlg dlg(&record);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("KZTR Setting"));
    EXPECT_TRUE(dlg.isModal());
    EXPECT_FALSE(dlg.windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_TRUE(dlg.windowFlags() & Qt::WindowCloseButtonHint);
    ASSERT_NE(Button(dlg, "OK"), nullptr);
    EXPECT_TRUE(Button(dlg, "OK")->isDefault());
    ASSERT_NE(Button(dlg, "Cancel"), nullptr);
    EXPECT_FALSE(Button(dlg, "Cancel")->isDefault());

    const struct {
        const char* id;
        QStringList items;
        QString shown;
    } lists[] = {
        {"1004", Numbers(2, 120), "20"},
        {"1006", Numbers(2, 120), "10"},
        {"1005", Numbers(15, 120), "30"},
    };
    for (const auto& c : lists) {
        SCOPED_TRACE(c.id);
        QComboBox* list = List(dlg, c.id);
        ASSERT_NE(list, nullptr);
        EXPECT_FALSE(list->isEditable());
        EXPECT_EQ(Items(*list), c.items);
        EXPECT_EQ(list->currentText(), c.shown);
    }
    EXPECT_EQ(List(dlg, "1004")->count(), 119);
    EXPECT_EQ(List(dlg, "1005")->count(), 106);
}

TEST_F(StdDialogsTest, SettingDlgOkStoresWhatTheListsShow) {
    SettingDurationInfo record;
    CStdMfcSettingDlg dlg(&record);
    QTimer::singleShot(0, &dlg, [&dlg] {
        QTest::keyClick(List(dlg, "1004"), Qt::Key_Down); // 20 -> 21
        List(dlg, "1006")->setCurrentText(QStringLiteral("120"));
        List(dlg, "1005")->setCurrentIndex(0);
        QTest::mouseClick(Button(dlg, "OK"), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_PRED2(SameRecord, record, (SettingDurationInfo{21, 120, 15}));
    EXPECT_FALSE(dlg.isVisible());
}

// The dialog keeps the values it was opened on; OK writes all three back, including the
// ones the operator left alone.
TEST_F(StdDialogsTest, SettingDlgOkWritesItsOwnCopyOfAllThree) {
    SettingDurationInfo record{40, 50, 60};
    CStdMfcSettingDlg dlg(&record);
    record = {99, 98, 97};
    dlg.show();
    QTest::mouseClick(Button(dlg, "OK"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_PRED2(SameRecord, record, (SettingDurationInfo{40, 50, 60}));
}

struct OutOfListCase {
    const char* name;
    SettingDurationInfo opened;
    SettingDurationInfo stored;
    friend void PrintTo(const OutOfListCase& c, std::ostream* os) { *os << c.name; }
};

class SettingDlgValueRange : public ::testing::TestWithParam<OutOfListCase> {
protected:
    void SetUp() override { EnsureGuiApp(); }
};

// A value the list does not hold shows nothing, and OK then stores 0 for it.
TEST_P(SettingDlgValueRange, UnlistedValueShowsNothingAndStoresZero) {
    const OutOfListCase& c = GetParam();
    SettingDurationInfo record = c.opened;
    CStdMfcSettingDlg dlg(&record);
    const struct {
        const char* id;
        int opened;
        int stored;
    } lists[] = {
        {"1004", c.opened.iPatternSec, c.stored.iPatternSec},
        {"1006", c.opened.iIdentifySec, c.stored.iIdentifySec},
        {"1005", c.opened.iApplyConfirmSec, c.stored.iApplyConfirmSec},
    };
    for (const auto& l : lists) {
        SCOPED_TRACE(l.id);
        QComboBox* list = List(dlg, l.id);
        ASSERT_NE(list, nullptr);
        if (l.stored == 0) {
            EXPECT_EQ(list->currentIndex(), -1);
            EXPECT_TRUE(list->currentText().isEmpty());
        } else {
            EXPECT_EQ(list->currentText(), QString::number(l.opened));
        }
    }
    dlg.show();
    QTest::mouseClick(Button(dlg, "OK"), Qt::LeftButton);
    EXPECT_PRED2(SameRecord, record, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingDlgValueRange,
    ::testing::Values(OutOfListCase{"PatternBelow", {1, 10, 30}, {0, 10, 30}},
                      OutOfListCase{"IdentifyAbove", {20, 500, 30}, {20, 0, 30}},
                      OutOfListCase{"ConfirmJustBelow", {20, 10, 14}, {20, 10, 0}},
                      OutOfListCase{"ConfirmJustAbove", {20, 10, 121}, {20, 10, 0}},
                      OutOfListCase{"AllOutside", {0, -5, 500}, {0, 0, 0}},
                      OutOfListCase{"LowestListed", {2, 2, 15}, {2, 2, 15}},
                      OutOfListCase{"HighestListed", {120, 120, 120}, {120, 120, 120}}),
    [](const ::testing::TestParamInfo<OutOfListCase>& info) { return info.param.name; });

TEST_F(StdDialogsTest, SettingDlgCancelLeavesTheRecord) {
    for (const CancelWay& way : CancelWays()) {
        SCOPED_TRACE(way.name);
        SettingDurationInfo record{25, 12, 45};
        CStdMfcSettingDlg dlg(&record);
        QSignalSpy finished(&dlg, &QDialog::finished);
        dlg.show();
        List(dlg, "1004")->setCurrentIndex(0);
        List(dlg, "1006")->setCurrentIndex(0);
        List(dlg, "1005")->setCurrentIndex(0);
        way.act(dlg);
        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(finished.at(0).at(0).toInt(), QDialog::Rejected);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_PRED2(SameRecord, record, (SettingDurationInfo{25, 12, 45}));
    }
}

// --- Box-ID dialog ----------------------------------------------------------------------

struct IdListCase {
    const char* name;
    uint8_t count;
    QStringList items;
    friend void PrintTo(const IdListCase& c, std::ostream* os) { *os << c.name; }
};

class IdentifyDlgList : public ::testing::TestWithParam<IdListCase> {
protected:
    void SetUp() override { EnsureGuiApp(); }
};

// IDs 1 ... count sorted as text, opening on the first whatever the result byte held.
TEST_P(IdentifyDlgList, ListsIdsAsTextOpeningOnTheFirst) {
    const IdListCase& c = GetParam();
    for (uint8_t initial : {uint8_t{0}, uint8_t{2}, uint8_t{200}}) {
        SCOPED_TRACE(initial);
        uint8_t result = initial;
        CStdMfcDevBoxIdentifyDlg dlg(c.count, &result);
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Device-ID Identify"));
        QComboBox* list = List(dlg, "1005");
        ASSERT_NE(list, nullptr);
        EXPECT_FALSE(list->isEditable());
        EXPECT_EQ(Items(*list), c.items);
        EXPECT_EQ(list->currentIndex(), c.items.isEmpty() ? -1 : 0);
        EXPECT_EQ(list->currentText(), c.items.value(0));
        EXPECT_EQ(result, initial);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IdentifyDlgList,
    ::testing::Values(
        IdListCase{"None", 0, {}}, IdListCase{"One", 1, {"1"}},
        IdListCase{"Three", 3, {"1", "2", "3"}},
        IdListCase{"Twelve", 12, {"1", "10", "11", "12", "2", "3", "4", "5", "6", "7", "8", "9"}},
        IdListCase{"TwentyOne", 21, {"1",  "10", "11", "12", "13", "14", "15",
                                     "16", "17", "18", "19", "2",  "20", "21",
                                     "3",  "4",  "5",  "6",  "7",  "8",  "9"}}),
    [](const ::testing::TestParamInfo<IdListCase>& info) { return info.param.name; });

TEST_F(StdDialogsTest, IdentifyDlgOkWritesTheChosenId) {
    const struct {
        const char* name;
        uint8_t count;
        const char* choose; // nullptr: leave the list as it opened
        uint8_t expected;
    } cases[] = {
        {"second of three", 3, "2", 2},        {"left on the first", 12, nullptr, 1},
        {"ten sorts after one", 12, "10", 10}, {"highest byte", 255, "255", 255},
        {"empty list", 0, nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        uint8_t result = 77;
        CStdMfcDevBoxIdentifyDlg dlg(c.count, &result);
        QTimer::singleShot(0, &dlg, [&dlg, &c] {
            if (c.choose != nullptr)
                List(dlg, "1005")->setCurrentText(QString::fromLatin1(c.choose));
            QTest::mouseClick(Button(dlg, "OK"), Qt::LeftButton);
        });
        EXPECT_EQ(dlg.exec(), QDialog::Accepted);
        EXPECT_EQ(result, c.expected);
    }
}

TEST_F(StdDialogsTest, IdentifyDlgCancelLeavesTheResult) {
    for (const CancelWay& way : CancelWays()) {
        SCOPED_TRACE(way.name);
        uint8_t result = 9;
        CStdMfcDevBoxIdentifyDlg dlg(12, &result);
        QSignalSpy finished(&dlg, &QDialog::finished);
        dlg.show();
        List(dlg, "1005")->setCurrentText(QStringLiteral("3"));
        way.act(dlg);
        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(finished.at(0).at(0).toInt(), QDialog::Rejected);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(result, 9);
    }
}

// --- Both dialogs: keyboard -------------------------------------------------------------

struct DialogKind {
    const char* name;
    std::function<std::unique_ptr<QDialog>()> make;
    std::vector<const char*> tabOrder; // list ids, then button texts
};

std::vector<DialogKind> DialogKinds(SettingDurationInfo& record, uint8_t& boxId) {
    return {
        {"durations",
         [&record] { return std::make_unique<CStdMfcSettingDlg>(&record); },
         {"1004", "1006", "1005", "OK", "Cancel"}},
        {"box ID",
         [&boxId] { return std::make_unique<CStdMfcDevBoxIdentifyDlg>(5, &boxId); },
         {"1005", "OK", "Cancel"}},
    };
}

QWidget* Control(QDialog& dlg, const char* name) {
    if (QComboBox* list = List(dlg, name)) return list;
    return Button(dlg, name);
}

TEST_F(StdDialogsTest, TabVisitsListsThenOkThenCancel) {
    SettingDurationInfo record;
    uint8_t boxId = 0;
    for (const DialogKind& kind : DialogKinds(record, boxId)) {
        SCOPED_TRACE(kind.name);
        std::unique_ptr<QDialog> dlg = kind.make();
        dlg->show();
        ASSERT_EQ(dlg->focusWidget(), Control(*dlg, kind.tabOrder.front()));
        // Round the whole order and back to the first control.
        for (size_t i = 1; i <= kind.tabOrder.size(); ++i) {
            const char* next = kind.tabOrder[i % kind.tabOrder.size()];
            SCOPED_TRACE(next);
            QTest::keyClick(dlg->focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(dlg->focusWidget(), Control(*dlg, next));
        }
        dlg->reject();
    }
}

TEST_F(StdDialogsTest, EnterDoesNothingWhereverTheFocusIs) {
    SettingDurationInfo record;
    uint8_t boxId = 0;
    for (const DialogKind& kind : DialogKinds(record, boxId)) {
        SCOPED_TRACE(kind.name);
        record = {20, 10, 30};
        boxId = 7;
        std::unique_ptr<QDialog> dlg = kind.make();
        QSignalSpy finished(dlg.get(), &QDialog::finished);
        dlg->show();
        // A choice that OK would store, so a pressed OK shows in the record too.
        QComboBox* firstList = qobject_cast<QComboBox*>(Control(*dlg, kind.tabOrder.front()));
        firstList->setCurrentIndex(firstList->count() - 1);
        std::vector<QWidget*> targets{dlg.get()};
        for (const char* name : kind.tabOrder)
            targets.push_back(Control(*dlg, name));
        for (QWidget* target : targets) {
            SCOPED_TRACE(target->objectName().toStdString());
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
                target->setFocus();
                QTest::keyClick(target, key);
                EXPECT_TRUE(dlg->isVisible());
                EXPECT_EQ(finished.count(), 0);
            }
        }
        EXPECT_PRED2(SameRecord, record, (SettingDurationInfo{20, 10, 30}));
        EXPECT_EQ(boxId, 7);

        // Only Enter is taken away: Space still presses the focused OK.
        Button(*dlg, "OK")->setFocus();
        QTest::keyClick(Button(*dlg, "OK"), Qt::Key_Space);
        ASSERT_EQ(finished.count(), 1);
        EXPECT_EQ(finished.at(0).at(0).toInt(), QDialog::Accepted);
    }
}

// --- The seam ---------------------------------------------------------------------------

// What the operator does once the real dialog is up; the dialog is found as the modal one.
struct SeamCase {
    const char* name;
    std::function<void(QDialog&)> act;
    int expected;
};

TEST_F(StdDialogsTest, RealDialogsAnswerIdOkOrIdCancel) {
    const SeamCase cases[] = {
        {"OK", [](QDialog& d) { QTest::mouseClick(Button(d, "OK"), Qt::LeftButton); },
         StdDialogs::IDOK},
        {"Cancel", [](QDialog& d) { QTest::mouseClick(Button(d, "Cancel"), Qt::LeftButton); },
         StdDialogs::IDCANCEL},
        {"Escape", [](QDialog& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Escape); },
         StdDialogs::IDCANCEL},
        {"close box", [](QDialog& d) { d.close(); }, StdDialogs::IDCANCEL},
    };
    QWidget owner;
    for (const SeamCase& c : cases) {
        SCOPED_TRACE(c.name);
        const bool confirmed = c.expected == StdDialogs::IDOK;

        // Runs once exec() has put the dialog up: checks its owner, changes the first
        // list, then acts.
        auto operate = [&owner, &c](const char* listId, const char* choice) {
            QTimer::singleShot(0, &owner, [&owner, &c, listId, choice] {
                auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                ASSERT_NE(dlg, nullptr);
                EXPECT_EQ(dlg->parentWidget(), &owner);
                List(*dlg, listId)->setCurrentText(QString::fromLatin1(choice));
                c.act(*dlg);
            });
        };

        SettingDurationInfo record{20, 10, 30};
        operate("1006", "7");
        EXPECT_EQ(RealStdDialogs().RunSettingDlg(record, &owner), c.expected);
        EXPECT_PRED2(
            SameRecord, record,
            (confirmed ? SettingDurationInfo{20, 7, 30} : SettingDurationInfo{20, 10, 30}));

        uint8_t boxId = 200;
        operate("1005", "4");
        EXPECT_EQ(RealStdDialogs().RunDevBoxIdentifyDlg(6, boxId, &owner), c.expected);
        EXPECT_EQ(boxId, confirmed ? 4 : 200);
    }
}

TEST(LeadingDecimalTest, ReadsTheNumberTheTextStartsWith) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},
        {"120", 120},
        {"007", 7},
        {"12 Sec.", 12},
        {"  15", 15},
        {"+3", 3},
        {"-4", -4},
        {"Sec.", 0},
        {"-", 0},
        {"1x2", 1},
        {"2147483647", 2147483647},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StdDialogParts::LeadingDecimal(QString::fromLatin1(c.text)), c.value);
    }
}

} // namespace
