#pragma once
// Shared fixtures of the tests: a fresh database made from db/schema.sql and a
// script of expected prompts with their answers.

#include "app/prompts.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class TDM;

// A temporary program directory holding DB/Data.MDB made from db/schema.sql,
// with the global data module connected to it. AppPath() points at the folder.
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    bool isValid() const { return m_valid; }
    QString programDir() const; // ends in "/"
    QString databaseFile() const;
    TDM& dm();
    // Runs SQLite statements (several, separated by ";") on the test database; fails the test on error.
    void exec(const QString& sql);

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};

// Creates a database file from db/schema.sql (and more scripts, if given).
bool MakeSchemaDatabase(const QString& file, const QStringList& extraScripts = {}, QString* error = nullptr);

// Scripts prompts: each expected prompt names its kind and text (a text that is
// empty matches any text) and carries its answer. A prompt that was not expected
// fails the test, and so does an expected prompt left unused when the script ends.
class PromptScript {
public:
    PromptScript();
    ~PromptScript();
    PromptScript(const PromptScript&) = delete;
    PromptScript& operator=(const PromptScript&) = delete;

    PromptScript& expect(PromptKind kind, const QString& text, PromptAnswer answer = {});
    PromptScript& expectMessage(const QString& text) { return expect(PromptKind::Information, text); }
    PromptScript& expectQuestion(const QString& text, bool yes) {
        return expect(PromptKind::Question, text, PromptAnswer{yes, {}});
    }
    PromptScript& expectInput(const QString& text, const QString& typed, bool accepted = true) {
        return expect(PromptKind::Input, text, PromptAnswer{accepted, typed});
    }

    // Every prompt seen so far, in order.
    const QList<Prompt>& seen() const { return m_seen; }
    // True when all expected prompts were used; the destructor checks it too.
    bool done() const { return m_expected.isEmpty(); }
    void verifyDone();

private:
    struct Expected {
        PromptKind kind;
        QString text;
        PromptAnswer answer;
    };
    QList<Expected> m_expected;
    QList<Prompt> m_seen;
    PromptHandler m_previous;
};
