// The dialogs through their real widgets with the scripted user, for what only the widgets show:
// the event log filter's ranges, enabled groups, begin/end check and fields written back, the unit
// selection list's rows and buttons, the installation form's limits (for typing only, never
// cutting what was stored or chosen) and the message that keeps it open, and the file chooser's
// filters and whether it asks before replacing a file. The rules behind them are the core tests'
// business.
#include "sites/CInstallationDlg.h"
#include "sites/CSelectUnitDlg.h"
#include "sites/InstallationForm.h"
#include "sites/SelectUnitModel.h"
#include "reports/CFilterDlg.h"
#include "reports/EventLogFilter.h"
#include "widgets/CListCtrlEx.h"
#include "shell/QtUserServices.h"
#include "support/ScriptedUserServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

void SetTime(const CFilterDlg::DateFields& fields, const EventTime& time) {
    fields.year->setValue(time.year);
    fields.month->setValue(time.month);
    fields.day->setValue(time.day);
    fields.hour->setValue(time.hour);
    fields.minute->setValue(time.minute);
}

class FilterDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        filter_.Reset({2026, 3, 15, 10, 30, 0});
        filter_.selectByName = true;
        filter_.name = "SMITH";
        filter_.channels = {false, true, false, false};
        filter_.deviceType = 2;
        filter_.code = 1234;
    }
    EventLogFilter filter_;
    ScriptedUserServices ui_;
};

TEST_F(FilterDialogTest, FieldsHaveTheirRangesEachCheckBoxEnablesItsGroupAndOkWritesThemBack) {
    CFilterDlg dialog(filter_, ui_);
    for (const CFilterDlg::DateFields* fields : {&dialog.Begin(), &dialog.End()}) {
        QStringList ranges;
        for (const QSpinBox* spin : {fields->month, fields->day, fields->hour, fields->minute}) {
            ranges << QString("%1-%2").arg(spin->minimum()).arg(spin->maximum());
        }
        EXPECT_EQ(ranges.join(' '), "1-12 1-31 0-23 0-59");
    }
    EXPECT_EQ(QList<int>({dialog.Begin().day->value(), dialog.End().hour->value(),
                          dialog.End().minute->value()}),
              QList<int>({14, 10, 30}));
    EXPECT_EQ(dialog.NameField()->text(), "SMITH");
    EXPECT_EQ(dialog.NameField()->maxLength(), 24);
    EXPECT_TRUE(dialog.Channel(1)->isChecked() && dialog.Device(2)->isChecked());
    EXPECT_EQ(dialog.CodeField()->text(), "1234");

    QLabel* beginLabel = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        beginLabel = label->text() == "Begin Date" ? label : beginLabel;
    }
    ASSERT_NE(beginLabel, nullptr);
    const std::vector<std::pair<QCheckBox*, std::vector<QWidget*>>> groups{
        {dialog.SelectByDate(),
         {dialog.Begin().month, dialog.Begin().year, dialog.End().minute, beginLabel}},
        {dialog.SelectByName(), {dialog.NameField()}},
        {dialog.SelectByChannel(), {dialog.Channel(0), dialog.Channel(3)}},
        {dialog.SelectByDevice(), {dialog.Device(0), dialog.Device(3), dialog.CodeField()}}};
    // On opening, then after each box's first and second click.
    for (int clicks = 0; clicks <= 8; ++clicks) {
        if (clicks > 0) {
            groups[static_cast<std::size_t>((clicks - 1) / 2)].first->click();
        }
        for (const auto& [box, controls] : groups) {
            for (const QWidget* control : controls) {
                EXPECT_EQ(control->isEnabled(), box->isChecked())
                    << clicks << " clicks: " << box->text().toStdString();
            }
        }
    }

    // OK writes every field back.
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             dialog.SelectByDate(), dialog.SelectByName(), dialog.SelectByChannel(),
             dialog.SelectByDevice(), dialog.Channel(1), dialog.Channel(2), dialog.Device(3)}) {
        button->click();
    }
    SetTime(dialog.Begin(), {2025, 12, 31, 23, 59, 0});
    SetTime(dialog.End(), {2026, 1, 1, 0, 0, 0});
    dialog.NameField()->setText("DOE");
    dialog.CodeField()->setText("4321");
    EventLogFilter expected = filter_;
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    expected.selectByDate = expected.selectByChannel = expected.selectByDeviceType = true;
    expected.selectByName = false;
    expected.begin = {2025, 12, 31, 23, 59, 0};
    expected.end = {2026, 1, 1, 0, 0, 0};
    expected.channels = {false, false, true, false};
    expected.name = "DOE";
    expected.deviceType = 3;
    expected.code = 4321;
    EXPECT_EQ(filter_, expected);
}

TEST_F(FilterDialogTest, BeginNotBeforeEndIsRefusedWhetherOrNotTheDateTestIsOnAndCancelKeepsAll) {
    const EventLogFilter before = filter_;
    for (const bool byDate : {false, true}) {
        CFilterDlg dialog(filter_, ui_);
        dialog.show();
        dialog.SelectByDate()->setChecked(byDate);
        SetTime(dialog.End(), filter_.begin);
        dialog.accept();
        SetTime(dialog.Begin(), {2026, 3, 15, 10, 31, 0});
        SetTime(dialog.End(), {2026, 3, 15, 10, 30, 0});
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(filter_, before);
        ASSERT_EQ(ui_.Shown().size(), 2u);
        for (const ShownMessage& shown : ui_.Shown()) {
            EXPECT_EQ(shown.text, "The begin time must be less than the end time");
            EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
            EXPECT_EQ(shown.buttons, MessageButtons::Ok);
        }
        ui_.Forget();

        // One minute apart is a range.
        SetTime(dialog.Begin(), {2026, 3, 15, 10, 29, 0});
        dialog.accept();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(ui_.Shown().empty());
        filter_ = before;
    }
    // Cancel writes nothing back.
    CFilterDlg cancelled(filter_, ui_);
    cancelled.SelectByDate()->click();
    cancelled.NameField()->setText("DOE");
    cancelled.reject();
    EXPECT_EQ(filter_, before);
}

// The rows of a unit selection dialog as shown, "*" before the selected one, and which of Edit and
// Remove are usable.
std::string Shown(const CSelectUnitDlg& dialog) {
    QStringList rows;
    for (int row = 0; row < dialog.List()->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = dialog.List()->topLevelItem(row);
        rows << QString(row == dialog.List()->SelectedRow() ? "*" : "") + item->text(0) + " / " +
                    item->text(1) + " / " + item->text(2);
    }
    rows << QString("edit %1 remove %2")
                .arg(dialog.EditButton()->isEnabled())
                .arg(dialog.RemoveButton()->isEnabled());
    return rows.join("; ").toStdString();
}

TEST(SelectUnitDialogTest, TheListFollowsAddEditAndRemoveAndOkStoresTheSelectedRow) {
    ScriptedUserServices ui;
    SelectUnitModel model(
        InstallationList{-1,
                         {{"North Gate", "111111", "/sites/north.mem", "1", "555", "1234567"},
                          {"South Door", "222222", "/sites/south.mem", "44", "", "5550100"}}});
    CSelectUnitDlg dialog(model, ui);
    const QTreeWidgetItem* header = dialog.List()->headerItem();
    EXPECT_EQ(QStringList({header->text(0), header->text(1), header->text(2)}),
              QStringList({"Installation Name", "Data Number", "File Name"}));
    EXPECT_EQ(Shown(dialog), "North Gate / 1 (555) 1234567 / /sites/north.mem; "
                             "South Door / 44 5550100 / /sites/south.mem; edit 0 remove 0");
    // A double click with nothing selected does nothing.
    emit dialog.List()->itemDoubleClicked(dialog.List()->topLevelItem(0), 0);
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    ui.installationDialog = [](InstallationForm& form) {
        form.fields = {"East Lot", "333333", "/sites/east.mem", "1", "617", "5550199"};
        return true;
    };
    dialog.AddButton()->click();
    EXPECT_TRUE(Shown(dialog).ends_with("; *East Lot / 1 (617) 5550199 / /sites/east.mem; "
                                        "edit 1 remove 1"));
    dialog.List()->SelectRow(0);
    ui.installationDialog = [](InstallationForm& form) {
        form.fields.name = "North Gate 2";
        form.fields.areaCode.clear();
        return true;
    };
    dialog.EditButton()->click();
    EXPECT_TRUE(Shown(dialog).starts_with("*North Gate 2 / 1 1234567 / /sites/north.mem; South"));

    // Cancel keeps the row; No removes it. The buttons follow what the list shows selected.
    dialog.List()->SelectRow(1);
    ui.Answer(MessageAnswer::Cancel);
    ui.Answer(MessageAnswer::No);
    dialog.RemoveButton()->click();
    EXPECT_EQ(dialog.List()->topLevelItemCount(), 3);
    dialog.RemoveButton()->click();
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 2);
    EXPECT_EQ(dialog.List()->topLevelItem(1)->text(0), "East Lot");
    EXPECT_EQ(dialog.EditButton()->isEnabled(), dialog.List()->SelectedRow() >= 0);

    dialog.List()->SelectRow(1);
    emit dialog.List()->itemDoubleClicked(dialog.List()->topLevelItem(1), 0);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.Selected(), 1);
    ASSERT_EQ(model.RowCount(), 2u);
    EXPECT_EQ(model.Row(0).name + ", " + model.Row(1).name, "North Gate 2, East Lot");
}

TEST(InstallationDialogTest, FieldsKeepTheirLimitsAndCodesTakeOnlyDigits) {
    InstallationForm form;
    ScriptedUserServices ui;
    CInstallationDlg dialog(form, ui);
    const std::vector<QLineEdit*> fields{dialog.NameField(),     dialog.PasswordField(),
                                         dialog.FileNameField(), dialog.CountryCodeField(),
                                         dialog.AreaCodeField(), dialog.PhoneNumberField()};
    QStringList limits;
    QStringList typed;
    for (QLineEdit* field : fields) {
        limits << QString::number(field->maxLength());
        for (const QChar c : QString(field == dialog.PasswordField() ? "12345678" : "(61-7)")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
        typed << field->text();
    }
    // The file name is chosen, never typed: it has no limit of its own.
    EXPECT_EQ(limits.join(' '), "64 6 32767 16 16 48");
    EXPECT_TRUE(dialog.FileNameField()->isReadOnly());
    // The new form's country code "1" stays in front of what was typed.
    EXPECT_EQ(typed.join(" / "), "(61-7) / 123456 /  / 1617 / 617 / (61-7)");
}

// 300 characters in 669 bytes, in directory names of two- and three-byte characters.
const QString kLongPath = "/srv/" + QString("é").repeated(120) + "/" + QString("日").repeated(80) +
                          "/" + QString("ß").repeated(89) + ".mem";

TEST(InstallationDialogTest, AMissingFieldKeepsTheDialogOpenAndOkTakesWhatWasTyped) {
    InstallationForm form;
    ScriptedUserServices ui;
    CInstallationDlg dialog(form, ui);
    dialog.show();
    QPushButton* browse = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        browse = button->text() == "..." ? button : browse;
    }
    ASSERT_NE(browse, nullptr);

    // The chooser starts from the name typed so far; the path chosen is kept whole.
    dialog.NameField()->setText("New Site");
    ui.ChooseFile(kLongPath.toStdString());
    browse->click();
    EXPECT_EQ(ui.FileDialogs().at(0).initialName, "New Site");
    EXPECT_EQ(dialog.FileNameField()->text(), kLongPath);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Password is required"});

    dialog.PasswordField()->setText("135790");
    dialog.AreaCodeField()->setText("617");
    dialog.PhoneNumberField()->setText("5550123");
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ui.Shown().size(), 1u);
    EXPECT_EQ(form.fields,
              (Installation{"New Site", "135790", kLongPath.toStdString(), "1", "617", "5550123"}));
}

// Editing a value stored beyond its limit never makes it longer, nor cuts it.
TEST(InstallationDialogTest, StoredValuesBeyondTheLimitsAreKeptWhole) {
    const Installation stored{std::string(70, 'N'), "12345678901",        kLongPath.toStdString(),
                              std::string(20, '4'), std::string(20, '2'), std::string(60, '5')};
    InstallationForm form(stored);
    ScriptedUserServices ui;
    CInstallationDlg dialog(form, ui);
    EXPECT_EQ(dialog.FileNameField()->text(), kLongPath);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, "9");
    QApplication::sendEvent(dialog.AreaCodeField(), &press);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(form.fields, stored);
}

TEST(FileDialogFilterTest, EachLabelCarriesThePatternsOfItsPair) {
    // The dialog reads a label's patterns from its parentheses; "*.*" must list names without an
    // extension too.
    EXPECT_EQ(
        QtUserServices::DialogFilter("Memory Module Files (*.mem)|*.mem|All Files (*.*)|*.*||"),
        "Memory Module Files (*.mem);;All Files (*)");
    EXPECT_EQ(QtUserServices::DialogFilter("Backups|*.001;*.002||"), "Backups (*.001 *.002)");
}

TEST(FileDialogTest, TheSaveDialogAsksBeforeReplacingAFileUnlessTheOptionsSayNot) {
    QtUserServices ui;
    QStringList asks;
    for (const bool confirm : {true, false}) {
        FileDialogOptions options;
        options.filter = "Memory Module Files (*.mem)|*.mem||";
        options.confirmOverwrite = confirm;
        QTimer::singleShot(0, [&asks] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<QFileDialog*>(widget)) {
                    asks << (dialog->testOption(QFileDialog::DontConfirmOverwrite) ? "no" : "yes");
                    dialog->reject();
                }
            }
        });
        EXPECT_EQ(ui.ChooseFileToSave(options), std::nullopt);
    }
    EXPECT_EQ(asks.join(' '), "yes no");
}

} // namespace
} // namespace tolvane
