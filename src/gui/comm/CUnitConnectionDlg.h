// "Varko Connection": the unit's password and the way to reach it, the modem or one of the four
// direct ports (each shown with the device it stands for).
#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;

namespace tolvane {

class CUnitConnectionDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPasswordLimit = 6;

    // devices: what COM1 to COM4 stand for.
    CUnitConnectionDlg(const QString& password, const std::array<QString, 4>& devices,
                       QWidget* parent = nullptr);

    QString Password() const;
    // The PortSelector chosen: 1 modem, 2 to 5 COM1 to COM4; 0 until a choice.
    int Choice() const { return choice_; }

    QLineEdit* PasswordField() const { return password_; }
    QPushButton* ModemButton() const { return modem_; }
    QPushButton* PortButton(int port) const { return ports_[static_cast<std::size_t>(port)]; }

private:
    void Choose(int selector);

    QLineEdit* password_;
    QPushButton* modem_;
    std::array<QPushButton*, 4> ports_{};
    int choice_ = 0;
};

} // namespace tolvane
