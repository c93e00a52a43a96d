#pragma once
// Every message box, question, input box and file dialog of both programs goes
// through these functions. While a handler is set no dialog is shown: the handler
// receives each prompt and returns the answer, which is how tests script them.
// Without a handler the prompts are shown by the dialog backend installed by the
// program (InstallWidgetPrompts); without that either they are written to standard
// error and answered with their default, as a command-line tool needs.

#include <QString>
#include <functional>
#include <optional>

enum class PromptKind {
    Information, // message box with an OK button
    Warning,     // warning message box with an OK button
    Error,       // error message box with an OK button
    Question,    // warning message box with the buttons Yes and No
    Input,       // input box: caption, prompt text, default text
    OpenFile,    // file dialog for opening
    SaveFile,    // file dialog for saving
};

struct Prompt {
    PromptKind kind = PromptKind::Information;
    QString caption;
    QString text;        // message, question or input prompt
    QString defaultText; // input default or proposed file name
    QString directory;   // file dialogs: the starting folder
    QString filter;      // file dialogs: the file type filter ("Text (*.txt)")
    QString defaultSuffix; // file dialogs: the extension added to a name typed without one
};

// A default-constructed answer means OK / Yes / accepted. For an input box an
// accepted answer without text keeps the default text; for a file dialog it
// takes the proposed file name.
struct PromptAnswer {
    bool accepted = true;
    std::optional<QString> text;
};

using PromptHandler = std::function<PromptAnswer(const Prompt&)>;

// Replaces the dialogs while set; an empty handler restores them.
void SetPromptHandler(PromptHandler handler);
PromptHandler CurrentPromptHandler();

// Installed by a program with widgets: shows a prompt as a real dialog.
void SetPromptBackend(PromptHandler backend);

// Runs one prompt through the handler, the backend or standard error.
PromptAnswer RunPrompt(const Prompt& prompt);

// The caption used when a message names none: the application's title.
QString DefaultPromptCaption();

void ShowMessage(const QString& text, const QString& caption = QString());
void ShowWarningMessage(const QString& text, const QString& caption = QString());
void ShowErrorMessage(const QString& text, const QString& caption = QString());

// A warning box with Yes and No; true for Yes.
bool AskYesNo(const QString& text, const QString& caption = QString());

// Input box. Returns the typed text when accepted, the default text when the
// user cancels (the input box of the original behaves so); `accepted` tells which.
QString InputBox(const QString& caption, const QString& text, const QString& defaultText = QString(),
                 bool* accepted = nullptr);

// File dialogs; an empty result means the user cancelled.
QString AskOpenFileName(const QString& caption, const QString& directory, const QString& filter,
                        const QString& proposedName = QString());
QString AskSaveFileName(const QString& caption, const QString& directory, const QString& filter,
                        const QString& proposedName = QString(), const QString& defaultSuffix = QString());
