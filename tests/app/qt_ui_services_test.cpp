#include "app/qt_ui_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>

#include "tests/support/qt/qt_app.h"

using varnak::messageBoxAnswer;
using varnak::messageBoxButtons;

TEST(QtUiServices, MessageBoxStylesAndAnswers) {
    EXPECT_EQ(messageBoxButtons(varnak::vbOKOnly | varnak::vbCritical), QMessageBox::Ok);
    EXPECT_EQ(messageBoxButtons(varnak::vbYesNo | varnak::vbQuestion),
              QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(messageBoxButtons(varnak::vbYesNoCancel),
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(messageBoxButtons(varnak::vbRetryCancel), QMessageBox::Retry | QMessageBox::Cancel);
    EXPECT_EQ(messageBoxButtons(varnak::vbAbortRetryIgnore),
              QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
    EXPECT_EQ(messageBoxAnswer(QMessageBox::Yes), varnak::vbYes);
    EXPECT_EQ(messageBoxAnswer(QMessageBox::No), varnak::vbNo);
    EXPECT_EQ(messageBoxAnswer(QMessageBox::Cancel), varnak::vbCancel);
    EXPECT_EQ(messageBoxAnswer(QMessageBox::Ok), varnak::vbOK);
    EXPECT_EQ(messageBoxAnswer(QMessageBox::Retry), varnak::vbRetry);
}

TEST(QtUiServices, StatusTextsReachTheSinkAndQtTextsFollowTheLanguage) {
    varnak::test::ensureQtApp();
    varnak::QtUiServices ui;
    std::vector<std::string> texts;
    ui.statusText("lost");  // no sink yet: dropped
    ui.setStatusSink([&](const std::string& t) { texts.push_back(t); });
    ui.statusText("done...");
    EXPECT_EQ(texts, (std::vector<std::string>{"done..."}));

    const QString english = QCoreApplication::translate("QPlatformTheme", "Cancel");
    ui.setUiLanguage(7, 1);
    const QString german = QCoreApplication::translate("QPlatformTheme", "Cancel");
    ui.setUiLanguage(9, 1);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), english);
    if (german == english) GTEST_SKIP() << "Qt's German translation is not installed";
    EXPECT_EQ(german, "Abbrechen");
}
