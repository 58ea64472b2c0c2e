// The "Communication Setup" dialog over a real setup: what it shows once it is up, the rule of
// its check boxes and the number that follows them, an edit in "Dialing Properties", and "Dial".
#include "comm/CCommSetupDlg.h"
#include "comm/CDialingPropertiesDlg.h"
#include "comm/CommSetup.h"
#include "sites/ProfileFile.h"
#include "support/ScriptedUserServices.h"
#include "support/TempDirectory.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(CommSetupDialogTest, BoxesNumberPropertiesAndDial) {
    TempDirectory dir;
    dir.WriteText("zemrix.ini", "[locations]\nOffice=1,212,,1,011,tone\n");
    ScriptedUserServices ui;
    const ModemList modems({{"Zeta", "/dev/ttyACM1", 7}, {"Alpha", "/dev/ttyUSB0", 1}});
    CommSetup setup(ui, modems, dir.Dir(), "555", "1234567");
    CCommSetupDlg dialog(setup);
    EXPECT_EQ(dialog.NumberLabel()->text().toStdString(), "1 xxx xxx-xxxx");
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.ModemField()->currentText().toStdString(), "Alpha");
    EXPECT_EQ(dialog.LocationField()->currentText().toStdString(), "Office");
    EXPECT_EQ(dialog.NumberLabel()->text().toStdString(), "1234567");

    dialog.IncludeAreaBox()->click();
    EXPECT_EQ(dialog.NumberLabel()->text().toStdString(), "555-1234567");
    dialog.LongDistanceBox()->click();
    EXPECT_FALSE(dialog.IncludeAreaBox()->isEnabled());
    EXPECT_TRUE(dialog.IncludeAreaBox()->isChecked());
    EXPECT_EQ(dialog.NumberLabel()->text().toStdString(), "1 (555) 1234567");

    // An outside line in "Dialing Properties"; an empty name first keeps the dialog open.
    bool refusedStaysOpen = false;
    QTimer::singleShot(0, [&] {
        auto* properties = qobject_cast<CDialingPropertiesDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(properties, nullptr);
        properties->NameField()->clear();
        properties->accept();
        refusedStaysOpen = properties->isVisible();
        properties->NameField()->setText("Cabin");
        properties->OutsideLineField()->setText("9");
        properties->accept();
    });
    dialog.PropertiesButton()->click();
    EXPECT_TRUE(refusedStaysOpen);
    EXPECT_EQ(ui.Shown().size(), 1u);
    EXPECT_EQ(dialog.LocationField()->currentText().toStdString(), "Cabin");
    EXPECT_EQ(dialog.NumberLabel()->text().toStdString(), "9 1 (555) 1234567");

    dialog.ModemField()->setCurrentIndex(1);
    dialog.DialButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ProfileFile(dir.Path("zemrix.ini")).Read().ReadString("communication", "modem"),
              "0700000007");
    EXPECT_EQ(setup.ChosenModem()->name, "Zeta");
    EXPECT_EQ(setup.DialableNumber(), "915551234567");
}

} // namespace
} // namespace tolvane
