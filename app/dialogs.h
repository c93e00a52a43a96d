#pragma once
// Behaviour shared by the modal dialogs: a fixed border, Esc on the cancel
// button, and Enter moving on to the next control.

class QAbstractButton;
class QDialog;

// A fixed-size dialog (its layout decides the size); dialogs without a parent
// appear centred on the screen.
void MakeFixedDialog(QDialog* dialog);
// Esc clicks this button.
void SetCancelButton(QDialog* dialog, QAbstractButton* button);
// The dialog sees keys first and hands them to EnterAsTab: Enter moves to the
// next control (in a memo only Ctrl+Enter); on a button Enter presses it.
void InstallEnterAsTab(QDialog* dialog);

class QLineEdit;
class QPlainTextEdit;

// Keeps the typed text within a number of GBK bytes, never splitting a character.
void LimitGbkBytes(QLineEdit* edit, int bytes);
void LimitGbkBytes(QPlainTextEdit* memo, int bytes);
