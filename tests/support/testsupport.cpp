#include "support/testsupport.h"

#include "app/databasefile.h"
#include "app/datamodule.h"
#include "app/helpers.h"

#include <QDir>
#include <QTest>
#include <sqlite3.h>

namespace {

QString KindName(PromptKind kind) {
    switch (kind) {
    case PromptKind::Information:
        return QStringLiteral("message");
    case PromptKind::Warning:
        return QStringLiteral("warning");
    case PromptKind::Error:
        return QStringLiteral("error");
    case PromptKind::Question:
        return QStringLiteral("question");
    case PromptKind::Input:
        return QStringLiteral("input");
    case PromptKind::OpenFile:
        return QStringLiteral("open-file dialog");
    case PromptKind::SaveFile:
        return QStringLiteral("save-file dialog");
    }
    return QString();
}

} // namespace

bool MakeSchemaDatabase(const QString& file, const QStringList& extraScripts, QString* error) {
    QStringList scripts{QStringLiteral(BRIMSOLL_SOURCE_DIR "/db/schema.sql")};
    scripts += extraScripts;
    return CreateDatabaseFile(file, scripts, error);
}

TestDatabase::TestDatabase() {
    QString error;
    if (!m_dir.isValid() || !MakeSchemaDatabase(databaseFile(), {}, &error)) {
        QTest::qFail(qPrintable(QStringLiteral("cannot make the test database: %1").arg(error)), __FILE__,
                     __LINE__);
        return;
    }
    SetAppPath(programDir());
    static TDM* shared = nullptr;
    if (!shared)
        shared = new TDM; // lives for the whole test program
    DM = shared;
    m_valid = DM->Connect(databaseFile());
    if (!m_valid)
        QTest::qFail(qPrintable(DM->LastError()), __FILE__, __LINE__);
}

TestDatabase::~TestDatabase() {
    if (DM)
        DM->Close();
}

QString TestDatabase::programDir() const {
    return m_dir.path() + u'/';
}

QString TestDatabase::databaseFile() const {
    return programDir() + QStringLiteral("DB/Data.MDB");
}

TDM& TestDatabase::dm() {
    return *DM;
}

void TestDatabase::exec(const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(DM->handle(), sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        QTest::qFail(qPrintable(QStringLiteral("%1: %2").arg(sql, QString::fromUtf8(message))), __FILE__,
                     __LINE__);
        sqlite3_free(message);
    }
}

PromptScript::PromptScript()
    : m_previous(CurrentPromptHandler()) {
    SetPromptHandler([this](const Prompt& prompt) -> PromptAnswer {
        m_seen.append(prompt);
        if (m_expected.isEmpty()) {
            QTest::qFail(
                qPrintable(QStringLiteral("unexpected %1: %2").arg(KindName(prompt.kind), prompt.text)),
                __FILE__, __LINE__);
            return {false, {}};
        }
        const Expected next = m_expected.takeFirst();
        if (next.kind != prompt.kind || (!next.text.isEmpty() && next.text != prompt.text)) {
            QTest::qFail(
                qPrintable(QStringLiteral("expected %1 \"%2\", got %3 \"%4\"")
                               .arg(KindName(next.kind), next.text, KindName(prompt.kind), prompt.text)),
                __FILE__, __LINE__);
        }
        return next.answer;
    });
}

PromptScript::~PromptScript() {
    verifyDone();
    SetPromptHandler(m_previous);
}

PromptScript& PromptScript::expect(PromptKind kind, const QString& text, PromptAnswer answer) {
    m_expected.append({kind, text, std::move(answer)});
    return *this;
}

void PromptScript::verifyDone() {
    if (!m_expected.isEmpty()) {
        const Expected& next = m_expected.constFirst();
        QTest::qFail(qPrintable(QStringLiteral("%1 expected prompt(s) not shown, first: %2 \"%3\"")
                                    .arg(m_expected.size())
                                    .arg(KindName(next.kind), next.text)),
                     __FILE__, __LINE__);
        m_expected.clear();
    }
}
