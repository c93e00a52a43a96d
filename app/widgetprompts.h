#pragma once
// The prompts shown as real dialogs: message boxes, questions, input boxes and
// file dialogs. Installed by the programs at start-up.

void InstallWidgetPrompts();
