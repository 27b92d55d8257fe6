#pragma once
// What the model needs of the user interface. The program injects its window-backed
// implementation; tests use SilentUi, which records what it was asked and answers from
// a script.
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace varnak {

// Message-box styles and answers, with the numeric values the dialogs were written with.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
};
enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

class UiServices {
public:
    virtual ~UiServices() = default;
    // First panel of the main window's status bar.
    virtual void statusText(const std::string& text) = 0;
    // A modal message box; returns one of MsgBoxResult.
    virtual int messageBox(const std::string& text, int style, const std::string& title) = 0;
    // A modal input box; nullopt when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& prompt,
                                                const std::string& title,
                                                const std::string& defaultText) = 0;
    // Lets pending window events run (but never user input, see the program's pump).
    virtual void pumpEvents() = 0;
    // The user-interface language: primary language 7 German, 9 English.
    virtual void setUiLanguage(int primaryLanguage, int subLanguage) = 0;
};

class SilentUi : public UiServices {
public:
    struct Message {
        std::string text;
        int style;
        std::string title;
    };

    void statusText(const std::string& text) override { statusTexts.push_back(text); }
    int messageBox(const std::string& text, int style, const std::string& title) override {
        messages.push_back({text, style, title});
        if (!answers.empty()) {
            int a = answers.front();
            answers.pop_front();
            return a;
        }
        return defaultAnswer(style);
    }
    std::optional<std::string> inputBox(const std::string& prompt, const std::string&,
                                        const std::string&) override {
        prompts.push_back(prompt);
        if (inputs.empty()) return std::nullopt;
        auto a = inputs.front();
        inputs.pop_front();
        return a;
    }
    void pumpEvents() override { ++pumpCount; }
    void setUiLanguage(int primary, int) override { uiLanguages.push_back(primary); }

    // The first button of the box, as pressing Enter would answer.
    static int defaultAnswer(int style) {
        switch (style & 7) {
            case vbAbortRetryIgnore: return vbAbort;
            case vbYesNoCancel:
            case vbYesNo: return vbYes;
            case vbRetryCancel: return vbRetry;
            default: return vbOK;
        }
    }

    std::vector<std::string> statusTexts;
    std::vector<Message> messages;
    std::vector<std::string> prompts;
    std::vector<int> uiLanguages;
    std::deque<int> answers;                         // scripted message-box answers
    std::deque<std::optional<std::string>> inputs;  // scripted input-box answers
    int pumpCount = 0;
};

}  // namespace varnak
