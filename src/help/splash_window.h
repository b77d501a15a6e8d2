// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;

namespace corvanteller {

// The splash window ("Prompt"): the program's title picture without a border, shown while the
// program starts and again later from the Help menus.
class SplashWindow final : public QWidget {
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // At start-up, before the event loop runs: shows the picture and paints it at once. This
    // showing cannot be clicked away; the start-up copy is destroyed once the windows exist.
    void showAtStartUp();
    // Help > About > Prompt: shows the picture again, until it is clicked.
    void showPrompt();

    QLabel* titlePicture;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void onTitlePictureClicked();

    bool startUp_ = false;
};

} // namespace corvanteller
