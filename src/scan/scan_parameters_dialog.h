#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace corvanteller {

class AppContext;

// The scanning-parameters dialog ("Настройки сканирования"), the one option of the scan.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    explicit TForm3(AppContext& context, QWidget* parent = nullptr);

    QCheckBox* CheckBox1 = nullptr; // "Processing of a plenty of files"
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr; // "OK"
    QPushButton* Button2 = nullptr; // "Cancel"

    // Shows the dialog centred on the window that opened it.
    void showFor(QWidget* opener);
    void FormActivate();
    void Button1Click();
    void Button2Click();

protected:
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void putBackRemembered();

    AppContext& context_;
    bool remembered_ = false;
    bool closingByOk_ = false;
};

} // namespace corvanteller
