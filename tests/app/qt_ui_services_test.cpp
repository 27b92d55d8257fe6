#include "app/qt_ui_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <optional>

#include "tests/support/qt/qt_app.h"
#include "windowkit/dialog_support.h"

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

TEST(QtUiServices, BoxesWaitForTheUserWithTheNormalPointerAlsoUnderTheHourglass) {
    varnak::test::ensureQtApp();
    varnak::QtUiServices ui;
    const std::pair<const char*, std::function<void()>> boxes[] = {
        {"message",
         [&] { ui.messageBox("Keine Kommunikation mit Koppler!", varnak::vbCritical, ""); }},
        {"question", [&] { ui.messageBox("?", varnak::vbYesNo | varnak::vbQuestion, ""); }},
        {"input", [&] { ui.inputBox("Koppler Name :", "", ""); }},
    };
    for (const auto& [name, ask] : boxes) {
        SCOPED_TRACE(name);
        varnak::BusyCursor busy;
        std::optional<Qt::CursorShape> waiting;
        // Looks at the pointer once the box is up, then closes the box.
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            waiting = QApplication::overrideCursor()->shape();
            box->reject();
        });
        look.start(5);
        ask();
        EXPECT_EQ(waiting, Qt::ArrowCursor);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
