// The Setup editors from their commands in the main window, with the window's own message boxes
// and modal dialogs, driven as a user would: what they show of the demo module, what OK writes
// into the image (block codes and the directory at once, entry codes only into the lists until
// a save), that Cancel leaves everything as it was, and the refusals at list level.
#include "gui/editors/EditorTestKit.h"

#include "ImageBuilder.h"
#include "config/EntryCodeEditor.h"
#include "config/PhoneNumberText.h"
#include "document/CommandIds.h"
#include "editors/CBlockCodeDlg.h"
#include "editors/CBlockRangeDlg.h"
#include "editors/CEntryCodeDlg.h"
#include "editors/CEntryCodeListDlg.h"
#include "editors/CPhoneDirectoryDlg.h"
#include "editors/CPhoneEntryDlg.h"
#include "editors/CSuspendCodeDlg.h"
#include "editors/CSystemPhoneDlg.h"
#include "widgets/CListCtrlEx.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace tolvane {
namespace {

class SetupEditorsTest : public DemoDocumentTest {};

TEST_F(SetupEditorsTest, BlockCodesOkWritesTheImageAtOnceAndCancelLeavesEverything) {
    std::shared_ptr<std::string> outside;
    WhenModal<CBlockCodeDlg>([&](CBlockCodeDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Configure Block Transmitter Information");
        const QTreeWidgetItem* first = dialog->Ranges()->topLevelItem(0);
        EXPECT_EQ(first->text(0) + " " + first->text(1) + " " + first->text(2), "1000 1499 1");
        WhenModal<CBlockRangeDlg>([](CBlockRangeDlg* range) {
            range->StartField()->setText("50000");
            range->EndField()->setText("50010");
            range->GroupField()->setText("7");
            range->accept();
        });
        dialog->AddRangeButton()->click();
        // Suspended codes take their sorted place; one outside every range is refused.
        for (const std::string code : {"50005", "1000", "3"}) {
            WhenModal<CSuspendCodeDlg>([code](CSuspendCodeDlg* suspend) {
                suspend->CodeField()->setText(QString::fromStdString(code));
                suspend->accept();
            });
            outside = code == "3" ? CloseNextBox() : outside;
            dialog->AddSuspendedButton()->click();
        }
        QStringList suspended;
        for (int row = 0; row < dialog->Suspended()->count(); ++row) {
            suspended << dialog->Suspended()->item(row)->text();
        }
        EXPECT_EQ(suspended.join(' ').toStdString(),
                  "01000 01007 01312 20500 28064 28065 30049 50005");
        // Removing a range leaves its suspended codes where they are.
        dialog->Ranges()->SelectRow(0);
        dialog->RemoveRangeButton()->click();
        dialog->accept();
    });
    frame_.RunCommand(kCmdBlockTransmitters);
    EXPECT_EQ(*outside, "The code to suspend must exist inside a block range");
    const BlockCodeList& stored = doc_.Lists().blockTransmitters;
    EXPECT_EQ(stored.ranges,
              (std::vector<BlockRange>{{20000, 29999, 2}, {30000, 30049, 5}, {50000, 50010, 7}}));
    EXPECT_EQ(stored.suspended,
              (std::vector<uint16_t>{1007, 1312, 20500, 28064, 28065, 30049, 50005, 1000}));
    EXPECT_EQ(Unpacked().blockTransmitters.ranges, stored.ranges);

    // Cancel after changes leaves the lists and the image as they were; cards have their own title.
    const std::vector<uint8_t> accepted = doc_.Image().GetBytes();
    const BlockCodeList transmitters = doc_.Lists().blockTransmitters;
    const BlockCodeList cards = doc_.Lists().blockCards;
    for (const int command : {kCmdBlockTransmitters, kCmdBlockCards}) {
        WhenModal<CBlockCodeDlg>([command](CBlockCodeDlg* dialog) {
            const bool card = command == kCmdBlockCards;
            EXPECT_EQ(dialog->windowTitle(), card ? "Configure Block Card Information"
                                                  : "Configure Block Transmitter Information");
            dialog->Ranges()->SelectRow(0);
            dialog->RemoveRangeButton()->click();
            dialog->Suspended()->setCurrentRow(0);
            dialog->RemoveSuspendedButton()->click();
            EXPECT_EQ(dialog->Suspended()->item(0)->text(), card ? "00640" : "01007");
            dialog->reject();
        });
        frame_.RunCommand(command);
    }
    EXPECT_EQ(doc_.Lists().blockTransmitters, transmitters);
    EXPECT_EQ(doc_.Lists().blockCards, cards);
    EXPECT_EQ(doc_.Image().GetBytes(), accepted);
}

TEST_F(SetupEditorsTest, EntryCodesReachTheListsOnOkAndTheImageOnlyWhenSaved) {
    const std::vector<uint8_t> before = doc_.Image().GetBytes();
    const EntryCodeArray codes = doc_.Lists().entryCodes;
    const auto inactive = std::find_if(codes.begin(), codes.end(),
                                       [](const EntryCode& code) { return code.active == 0; });
    ASSERT_NE(inactive, codes.end());
    std::shared_ptr<std::string> duplicate;
    WhenModal<CEntryCodeListDlg>([&](CEntryCodeListDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Configure Entry Code Information");
        CListViewEx* list = dialog->List();
        EXPECT_EQ(list->Rows()->rowCount(), static_cast<int>(codes.size()));
        EXPECT_EQ(Row(list, static_cast<int>(inactive - codes.begin())),
                  EntryCodeEditor::CodeText(*inactive) + " / " +
                      std::to_string(inactive->validationGroup) + " / No");
        // A new code starts active in group 0; the same code twice is refused after its dialog.
        for (const bool again : {false, true}) {
            WhenModal<CEntryCodeDlg>([](CEntryCodeDlg* entry) {
                EXPECT_TRUE(entry->ActiveBox()->isChecked());
                EXPECT_EQ(entry->GroupField()->text(), "0");
                entry->CodeField()->setText("0042");
                entry->GroupField()->setText("3");
                entry->ActiveBox()->setChecked(false);
                entry->accept();
            });
            duplicate = again ? CloseNextBox() : duplicate;
            dialog->AddButton()->click();
        }
        EXPECT_EQ(Row(list, list->SelectedRow()), "0042 / 3 / No");
        EXPECT_EQ(list->Rows()->rowCount(), static_cast<int>(codes.size()) + 1);
        list->SelectRow(0);
        dialog->RemoveButton()->click();
        dialog->accept();
    });
    frame_.RunCommand(kCmdEntryCodes);
    EXPECT_EQ(*duplicate, "Entry Codes must be unique");
    EntryCode added;
    EntryCodeEditor::ReadFields("0042", "3", false, added);
    EntryCodeArray expected(codes.begin() + 1, codes.end());
    expected.push_back(added);
    EXPECT_EQ(doc_.Lists().entryCodes, expected);
    EXPECT_TRUE(doc_.IsModified());
    EXPECT_EQ(doc_.Image().GetBytes(), before);
}

TEST_F(SetupEditorsTest, AFullDirectoryRefusesAddBeforeTheDialogAndOkWritesTheImageAtOnce) {
    // A module without directory pages has room for no entry: Add says so and opens nothing.
    Open(ImageBuilder(0x40).Bytes());
    std::shared_ptr<std::string> full;
    WhenModal<CPhoneDirectoryDlg>([&full](CPhoneDirectoryDlg* dialog) {
        full = CloseNextBox();
        dialog->AddButton()->click();
        dialog->reject();
    });
    frame_.RunCommand(kCmdTelephoneEntries);
    EXPECT_EQ(*full, "Telephone entry list full  --  You must remove an entry before adding more.");

    OpenDemo();
    std::shared_ptr<std::string> taken;
    WhenModal<CPhoneDirectoryDlg>([&](CPhoneDirectoryDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Configure Telephone Entry Number Information");
        EXPECT_EQ(Row(dialog->List(), 0), "0101 / ABERNATHY, R / 555-1201 / No");
        // A code in use is refused after the entry dialog has closed.
        for (const QString code : {"101", "7"}) {
            WhenModal<CPhoneEntryDlg>([code](CPhoneEntryDlg* entry) {
                entry->CodeField()->setText(code);
                entry->NameField()->setText(QString::fromUtf8("RENÉE"));
                entry->NumberField()->setText("617 555 0123");
                entry->TalkBox()->setChecked(true);
                entry->accept();
            });
            taken = code == "101" ? CloseNextBox() : taken;
            dialog->AddButton()->click();
        }
        EXPECT_EQ(Row(dialog->List(), dialog->List()->SelectedRow()),
                  "0007 / RENÉE / (617) 555-0123 / Yes");
        dialog->accept();
    });
    const std::size_t count = doc_.Lists().directory.Count();
    frame_.RunCommand(kCmdTelephoneEntries);
    EXPECT_EQ(*taken, "Directory code 101 is already being used.");
    EXPECT_EQ(doc_.Lists().directory.Count(), count + 1);

    // In the image at once, the name in the unit's 8-bit set.
    const DirectoryList written = Unpacked().directory;
    std::string added;
    for (std::size_t i = 0; i < written.Count(); ++i) {
        const DirectoryEntry& entry = written.At(i);
        added += entry.code == 7 ? entry.name + " " + FormatPhoneNumber(entry) : "";
    }
    EXPECT_EQ(written.Count(), count + 1);
    EXPECT_EQ(added, "REN\xC9"
                     "E (617) 555-0123");
}

TEST_F(SetupEditorsTest, TheSystemNumberComesBackAsTheFieldsHoldItEmptyOnesIncluded) {
    std::string country = "1";
    std::string area = "617";
    std::string phone = "555-0100 ext 12345";
    WhenModal<CSystemPhoneDlg>([](CSystemPhoneDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "System Phone Number Information");
        dialog->AreaCodeField()->clear();
        dialog->accept();
    });
    EXPECT_TRUE(ui_.RunSystemPhoneDialog(country, area, phone));
    EXPECT_EQ(country + "/" + area + "/" + phone, "1//555-0100 ext 12345");
    WhenModal<CSystemPhoneDlg>([](CSystemPhoneDlg* dialog) { dialog->reject(); });
    EXPECT_FALSE(ui_.RunSystemPhoneDialog(country, area, phone));
}

} // namespace
} // namespace tolvane
