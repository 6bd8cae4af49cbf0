#include "app/recovery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/project_controller.h"
#include "common/atomic_file.h"
#include "document/document.h"
#include "project/project_file.h"
#include "ui/dialogs.h"

namespace qf {
namespace {

const QString kPrefix = QStringLiteral("recovery-");
const QString kSuffix = QStringLiteral(".quillfen.json");

QString lockPathFor(QString recoveryFile) {
    recoveryFile.chop(kSuffix.size());
    return recoveryFile + QStringLiteral(".lock");
}

}  // namespace

QString RecoveryStore::defaultFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/quillfen");
}

RecoveryStore::RecoveryStore(QString folder, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)) {
    // The start time keeps the name unique when the system hands out the
    // pid of a crashed window again.
    m_file = m_folder + QLatin1Char('/') + kPrefix +
             QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
             QString::number(QDateTime::currentMSecsSinceEpoch()) + kSuffix;
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { writeNow(); });
}

RecoveryStore::~RecoveryStore() {
    // Destroyed on the way out of a clean exit (a crash never gets here).
    discard();
}

QStringList RecoveryStore::orphans() const {
    const QFileInfoList files = QDir(m_folder).entryInfoList(
        {kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files | QDir::NoSymLinks, QDir::Time);
    QStringList found;
    for (const QFileInfo& info : files) {
        const QString file = info.absoluteFilePath();
        if (file == m_file) continue;
        // A lock that can be taken is held by nobody: its window is gone.
        QLockFile lock(lockPathFor(file));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0)) continue;
        found.append(file);
    }
    return found;
}

void RecoveryStore::remove(const QString& file) {
    QFile::remove(file);
    QFile::remove(lockPathFor(file));
}

void RecoveryStore::watch(Document& doc) {
    m_doc = &doc;
    connect(&doc, &Document::changed, this, [this] {
        // The first change starts the clock; later ones ride along, so a
        // stream of edits cannot put the copy off for ever.
        if (!m_doc->isModified())
            discard();
        else if (!m_timer.isActive())
            m_timer.start();
    });
    connect(&doc, &Document::modifiedChanged, this, [this](bool modified) {
        if (!modified) discard();
    });
    connect(&doc, &QObject::destroyed, this, [this] {
        m_doc = nullptr;
        m_timer.stop();
    });
}

QString RecoveryStore::writeNow() {
    m_timer.stop();
    if (!m_doc || !m_doc->isModified()) {
        discard();
        return {};
    }
    claim();
    const std::string text = recoveryText(m_doc->record(), m_doc->projectPath().toStdString());
    const AtomicWriteResult written = writeFileAtomically(m_file.toStdString(), text);
    if (written.ok) {
        m_reportedFailure = false;
        return {};
    }
    // A full disk must not turn every edit into a message; one note on
    // standard error per run of failures is enough.
    const QString error = QString::fromStdString(written.error);
    if (!m_reportedFailure) qWarning("quillfen: recovery copy not written: %s", qPrintable(error));
    m_reportedFailure = true;
    return error;
}

void RecoveryStore::claim() {
    if (m_lock) return;
    // The copies are the user's own work: nobody else reads them.
    QDir().mkpath(m_folder);
    QFile::setPermissions(m_folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_lock = std::make_unique<QLockFile>(lockPathFor(m_file));
    m_lock->setStaleLockTime(0);
    m_lock->tryLock(0);
}

void RecoveryStore::discard() {
    m_timer.stop();
    QFile::remove(m_file);
}

bool offerRecovery(RecoveryStore& store, ProjectController& projects, Dialogs& dialogs,
                   QWidget* parent) {
    const QStringList found = store.orphans();
    if (found.isEmpty()) return false;
    const QString file = found.front();
    const ProjectReadResult read = readProjectFile(file.toStdString());
    if (!read.ok) {
        // Cut short by the crash it should have outlived (it is written whole,
        // so this is a foreign or damaged file): nothing in it can be offered.
        RecoveryStore::remove(file);
        return false;
    }
    const QString from = read.recoveryOf.empty()
                             ? QCoreApplication::translate("qf::Document", "無題")
                             : QFileInfo(QString::fromStdString(read.recoveryOf)).fileName();
    const QString when =
        QFileInfo(file).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const int choice = dialogs.choose(
        parent,
        QCoreApplication::translate("qf::RecoveryStore",
                                    "前回、保存されずに終了した作業があります (%1、%2)。\n"
                                    "復元しますか?")
            .arg(from, when),
        {QCoreApplication::translate("qf::RecoveryStore", "復元する(&R)"),
         QCoreApplication::translate("qf::RecoveryStore", "破棄(&D)"),
         QCoreApplication::translate("qf::RecoveryStore", "後で(&L)")},
        0, 2);
    if (choice == 1) {
        RecoveryStore::remove(file);
        return false;
    }
    if (choice != 0) return false;
    if (!projects.restoreRecovery(file)) return false;
    // The work is this window's now: its own copy replaces the orphan.
    store.writeNow();
    RecoveryStore::remove(file);
    return true;
}

}  // namespace qf
