#include "app/widgetprompts.h"

#include "app/prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

// A filter written as pairs "description|pattern|..." becomes the dialog's
// "description (pattern);;..."; a filter without "|" is taken as it is.
QString DialogFilter(const QString& filter) {
    if (!filter.contains(u'|'))
        return filter;
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        entries.append(description.contains(u'(') ? description : description + " (" + pattern + ")");
    }
    return entries.join(QStringLiteral(";;"));
}

QWidget* Parent() { return QApplication::activeWindow(); }

PromptAnswer ShowPrompt(const Prompt& prompt) {
    switch (prompt.kind) {
    case PromptKind::Information:
        QMessageBox::information(Parent(), prompt.caption, prompt.text);
        return {};
    case PromptKind::Warning:
        QMessageBox::warning(Parent(), prompt.caption, prompt.text);
        return {};
    case PromptKind::Error:
        QMessageBox::critical(Parent(), prompt.caption, prompt.text);
        return {};
    case PromptKind::Question: {
        const auto button = QMessageBox::warning(Parent(), prompt.caption, prompt.text,
                                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        return {button == QMessageBox::Yes, {}};
    }
    case PromptKind::Input: {
        bool ok = false;
        const QString text =
            QInputDialog::getText(Parent(), prompt.caption, prompt.text, QLineEdit::Normal, prompt.defaultText, &ok);
        return {ok, text};
    }
    case PromptKind::OpenFile:
    case PromptKind::SaveFile: {
        QFileDialog dialog(Parent(), prompt.caption, prompt.directory, DialogFilter(prompt.filter));
        const bool save = prompt.kind == PromptKind::SaveFile;
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!prompt.defaultSuffix.isEmpty())
            dialog.setDefaultSuffix(prompt.defaultSuffix);
        if (!prompt.defaultText.isEmpty())
            dialog.selectFile(prompt.defaultText);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {false, {}};
        return {true, dialog.selectedFiles().constFirst()};
    }
    }
    return {};
}

} // namespace

void InstallWidgetPrompts() { SetPromptBackend(ShowPrompt); }
