#include "app/prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {

PromptHandler& Handler() {
    static PromptHandler handler;
    return handler;
}

PromptHandler& Backend() {
    static PromptHandler backend;
    return backend;
}

// Without any dialog: report on standard error and take the default answer.
PromptAnswer AnswerOnConsole(const Prompt& prompt) {
    const QString line = prompt.caption.isEmpty() ? prompt.text : prompt.caption + ": " + prompt.text;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    return {};
}

QString OrDefaultCaption(const QString& caption) { return caption.isEmpty() ? DefaultPromptCaption() : caption; }

} // namespace

void SetPromptHandler(PromptHandler handler) { Handler() = std::move(handler); }

PromptHandler CurrentPromptHandler() { return Handler(); }

void SetPromptBackend(PromptHandler backend) { Backend() = std::move(backend); }

PromptAnswer RunPrompt(const Prompt& prompt) {
    if (Handler())
        return Handler()(prompt);
    if (Backend())
        return Backend()(prompt);
    return AnswerOnConsole(prompt);
}

QString DefaultPromptCaption() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Brimsoll") : name;
}

static void ShowOfKind(PromptKind kind, const QString& text, const QString& caption) {
    Prompt prompt;
    prompt.kind = kind;
    prompt.caption = OrDefaultCaption(caption);
    prompt.text = text;
    RunPrompt(prompt);
}

void ShowMessage(const QString& text, const QString& caption) { ShowOfKind(PromptKind::Information, text, caption); }

void ShowWarningMessage(const QString& text, const QString& caption) {
    ShowOfKind(PromptKind::Warning, text, caption);
}

void ShowErrorMessage(const QString& text, const QString& caption) { ShowOfKind(PromptKind::Error, text, caption); }

bool AskYesNo(const QString& text, const QString& caption) {
    Prompt prompt;
    prompt.kind = PromptKind::Question;
    prompt.caption = OrDefaultCaption(caption);
    prompt.text = text;
    return RunPrompt(prompt).accepted;
}

QString InputBox(const QString& caption, const QString& text, const QString& defaultText, bool* accepted) {
    Prompt prompt;
    prompt.kind = PromptKind::Input;
    prompt.caption = caption;
    prompt.text = text;
    prompt.defaultText = defaultText;
    const PromptAnswer answer = RunPrompt(prompt);
    if (accepted)
        *accepted = answer.accepted;
    if (!answer.accepted)
        return defaultText;
    return answer.text.value_or(defaultText);
}

static QString AskFileName(PromptKind kind, const QString& caption, const QString& directory,
                           const QString& filter, const QString& proposedName, const QString& defaultSuffix) {
    Prompt prompt;
    prompt.kind = kind;
    prompt.caption = caption;
    prompt.directory = directory;
    prompt.filter = filter;
    prompt.defaultText = proposedName;
    prompt.defaultSuffix = defaultSuffix;
    const PromptAnswer answer = RunPrompt(prompt);
    if (!answer.accepted)
        return QString();
    const QString name = answer.text.value_or(proposedName);
    if (name.isEmpty() || QDir::isAbsolutePath(name) || directory.isEmpty())
        return name;
    return QDir(directory).filePath(name);
}

QString AskOpenFileName(const QString& caption, const QString& directory, const QString& filter,
                        const QString& proposedName) {
    return AskFileName(PromptKind::OpenFile, caption, directory, filter, proposedName, QString());
}

QString AskSaveFileName(const QString& caption, const QString& directory, const QString& filter,
                        const QString& proposedName, const QString& defaultSuffix) {
    return AskFileName(PromptKind::SaveFile, caption, directory, filter, proposedName, defaultSuffix);
}
