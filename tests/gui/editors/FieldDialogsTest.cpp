// The editors' small dialogs through their real widgets: a refused OK says why, focuses the field
// it is about and keeps what was typed; the typing limits, which never cut a loaded value; and what
// OK writes back. The rules behind them are the core tests' business.
#include "config/DirectoryEntry.h"
#include "config/EntryCode.h"
#include "editors/CBlockRangeDlg.h"
#include "editors/CEntryCodeDlg.h"
#include "editors/CPhoneEntryDlg.h"
#include "editors/CSuspendCodeDlg.h"
#include "editors/CSystemPhoneDlg.h"
#include "config/BlockRange.h"
#include "support/ScriptedUserServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// Types the text at the end of the field, one key at a time, as the keyboard would.
QString Type(QLineEdit* field, const QString& text) {
    field->end(false);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
    return field->text();
}

TEST(FieldDialogsTest, ARefusedOkSaysWhyFocusesTheFieldAndKeepsWhatWasTyped) {
    ScriptedUserServices ui;
    BlockRange range;
    EntryCode code;
    DirectoryEntry entry;
    CBlockRangeDlg rangeDialog(range, ui);
    CSuspendCodeDlg suspendDialog(ui);
    CEntryCodeDlg codeDialog(code, ui);
    CPhoneEntryDlg phoneDialog(entry, ui);
    struct Case {
        CFieldDlg* dialog;
        QLineEdit* field;
        QString text;
        QLineEdit* refused;
        std::string message;
    };
    const std::vector<Case> cases{
        {&rangeDialog, rangeDialog.StartField(), "70000", rangeDialog.StartField(),
         "Start Code must be a whole number from 0 to 65535."},
        {&rangeDialog, rangeDialog.StartField(), "10", rangeDialog.EndField(),
         "The end code can not be less than the start code"},
        {&rangeDialog, rangeDialog.GroupField(), "16", rangeDialog.GroupField(),
         "Validation Group must be a whole number from 0 to 15."},
        {&suspendDialog, suspendDialog.CodeField(), "-1", suspendDialog.CodeField(),
         "Code must be a whole number from 0 to 65535."},
        {&codeDialog, codeDialog.CodeField(), "", codeDialog.CodeField(),
         "An entry code must be entered"},
        {&codeDialog, codeDialog.CodeField(), "12a", codeDialog.CodeField(),
         "Only numeric values (0-9) are allowed in an entry code"},
        {&codeDialog, codeDialog.GroupField(), "x", codeDialog.GroupField(),
         "Validation Group must be a whole number from 0 to 15."},
        {&phoneDialog, phoneDialog.CodeField(), "65536", phoneDialog.CodeField(),
         "Directory Code must be a whole number from 0 to 65535."},
    };
    for (const Case& refusal : cases) {
        refusal.dialog->show();
        refusal.field->setText(refusal.text);
        refusal.dialog->accept();
        EXPECT_TRUE(refusal.dialog->isVisible()) << refusal.message;
        EXPECT_NE(refusal.dialog->result(), QDialog::Accepted) << refusal.message;
        EXPECT_EQ(refusal.field->text(), refusal.text);
        EXPECT_EQ(refusal.dialog->focusWidget(), refusal.refused) << refusal.message;
        ASSERT_FALSE(ui.Shown().empty());
        EXPECT_EQ(ui.Shown().back().text, refusal.message);
        EXPECT_EQ(ui.Shown().back().icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(ui.Shown().size(), cases.size());
    // Nothing reached the records while the dialogs were refused.
    EXPECT_EQ(range, BlockRange());
    EXPECT_EQ(code, EntryCode());
}

TEST(FieldDialogsTest, TypingLimitsKeepLoadedValuesWholeAndOkWritesTheEntryBack) {
    ScriptedUserServices ui;
    // Entry codes: eight characters at most.
    EntryCode code;
    CEntryCodeDlg codeDialog(code, ui);
    EXPECT_EQ(Type(codeDialog.CodeField(), "0042567890"), "00425678");

    // Directory names are the unit's 8-bit characters, 24 at most; numbers 20 characters.
    DirectoryEntry entry;
    entry.code = 7;
    entry.name = "M\xFCller";
    entry.digitCount = 7;
    entry.digits = {5, 5, 5, 1, 2, 3, 4};
    CPhoneEntryDlg phoneDialog(entry, ui);
    EXPECT_EQ(phoneDialog.NumberField()->text(), "555-1234");
    EXPECT_EQ(Type(phoneDialog.NameField(), QString::fromUtf8(" & Söhne 日 Gärtnereien")),
              QString::fromUtf8("Müller & Söhne  Gärtnere"));
    phoneDialog.NumberField()->clear();
    EXPECT_EQ(Type(phoneDialog.NumberField(), "1 (617) 555-0123 ext 9"), "1 (617) 555-0123 ext");
    phoneDialog.TalkBox()->setChecked(true);
    phoneDialog.accept();
    ASSERT_EQ(phoneDialog.result(), QDialog::Accepted);
    EXPECT_EQ(entry.name, "M\xFCller & S\xF6hne  G\xE4rtnere");
    EXPECT_EQ(entry.digitCount, 11);
    EXPECT_EQ(entry.extendedTalk, 1);

    // The system number: codes of three digits, a number of fifteen characters; a stored value
    // longer than that is shown whole and not made longer.
    CSystemPhoneDlg phone("12345", "", "", ui);
    EXPECT_EQ(Type(phone.CountryCodeField(), "6"), "12345");
    EXPECT_EQ(Type(phone.AreaCodeField(), "6a1-79"), "617");
    EXPECT_EQ(phone.PhoneNumberField()->maxLength(), 15);
    EXPECT_TRUE(ui.Shown().empty());
}

} // namespace
} // namespace tolvane
