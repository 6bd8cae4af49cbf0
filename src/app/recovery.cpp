#include "app/recovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "app/project_controller.h"
#include "common/atomic_file.h"
#include "document/document.h"
#include "ui/dialogs.h"
#include "ui/output_sink.h"

namespace qf {
namespace {

const QString kPrefix = QStringLiteral("recovery-");
const QString kSuffix = QStringLiteral(".quillfen.json");
const QString kPastedInfix = QStringLiteral("-pasted-");
const QString kPastedSuffix = QStringLiteral(".png");

QString lockPathFor(QString recoveryFile) {
    recoveryFile.chop(kSuffix.size());
    return recoveryFile + QStringLiteral(".lock");
}

enum class Trust { Own, OtherUser, WritableByOthers };

// Whether a copy may be offered: its owner and who may write to it. Group
// write counts only for a group other than the user's own: a umask of 002
// gives every file the user makes that bit, the copies of older versions
// included.
Trust trustOf(const QString& file) {
    struct stat st {};
    if (::lstat(QFile::encodeName(file).constData(), &st) != 0) return Trust::Own;  // read says why
    if (st.st_uid != ::geteuid()) return Trust::OtherUser;
    if ((st.st_mode & S_IWOTH) || ((st.st_mode & S_IWGRP) && st.st_gid != ::getegid()))
        return Trust::WritableByOthers;
    return Trust::Own;
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
    // Saved work names its pictures beside the project; unsaved work is
    // dropped by now.
    QString stem = QFileInfo(m_file).fileName();
    stem.chop(kSuffix.size());
    for (const QFileInfo& f : QDir(m_folder).entryInfoList(
             {stem + kPastedInfix + QLatin1Char('*') + kPastedSuffix}, QDir::Files))
        QFile::remove(f.absoluteFilePath());
}

PasteStore::Kept RecoveryStore::keep(const cv::Mat& picture) {
    if (claim().isEmpty()) {
        QString path = m_file;
        path.chop(kSuffix.size());
        path += kPastedInfix + QString::number(++m_pasted) + kPastedSuffix;
        const QString error = writePastedPicture(path, picture);
        return {error.isEmpty() ? path : QString(), error, {}};
    }
    Kept kept = m_pastedElsewhere.keep(picture);
    kept.note =
        tr("貼り付けた画像は一時フォルダに置きました。異常終了すると失われます。"
           "プロジェクトを保存すると、画像もプロジェクトの隣に保存されます。");
    return kept;
}

bool RecoveryStore::holds(const QString& path) const {
    if (m_pastedElsewhere.holds(path)) return true;
    const QFileInfo info(path);
    const QString name = info.fileName();
    return info.absolutePath() == QFileInfo(m_folder).absoluteFilePath() &&
           name.startsWith(kPrefix) && name.contains(kPastedInfix) && name.endsWith(kPastedSuffix);
}

void RecoveryStore::sweepPastedPictures() const {
    const QDir dir(m_folder);
    const QFileInfoList pasted = dir.entryInfoList(
        {kPrefix + QLatin1Char('*') + kPastedInfix + QLatin1Char('*') + kPastedSuffix},
        QDir::Files | QDir::NoSymLinks);
    if (pasted.isEmpty()) return;
    QByteArray copies;  // every copy's text: a picture named in one stays
    for (const QFileInfo& copy :
         dir.entryInfoList({kPrefix + QLatin1Char('*') + kSuffix}, QDir::Files)) {
        QFile f(copy.absoluteFilePath());
        if (f.open(QIODevice::ReadOnly)) copies += f.readAll();
    }
    for (const QFileInfo& picture : pasted) {
        const QString name = picture.fileName();
        const QString owner = m_folder + QLatin1Char('/') + name.left(name.indexOf(kPastedInfix));
        if (owner + kSuffix == m_file || copies.contains(name.toUtf8())) continue;
        // A lock that can be taken is held by nobody: the window is gone.
        QLockFile lock(owner + QStringLiteral(".lock"));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0)) QFile::remove(picture.absoluteFilePath());
    }
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

std::optional<RecoveryOffer> RecoveryStore::nextOffer() {
    if (const QString why = folderProblem(false); !why.isEmpty()) {
        refuse(why);
        return std::nullopt;
    }
    sweepPastedPictures();
    QStringList notes;
    std::optional<RecoveryOffer> offer;
    for (const QString& file : orphans()) {
        const Trust trust = trustOf(file);
        if (trust == Trust::OtherUser) {
            notes
                << tr("回復用ファイル %1 は他のユーザーのものです。復元には使いません。").arg(file);
            continue;
        }
        if (trust == Trust::WritableByOthers) {
            notes << tr("回復用ファイル %1 は他のユーザーも書き込めます。復元には使いません。")
                         .arg(file);
            continue;
        }
        ProjectReadResult read = readProjectFile(file.toStdString());
        if (!read.ok) {
            // Cut short by the crash it should have outlived (it is written
            // whole, so this is a foreign or damaged file): nothing in it can
            // be offered, and the next copy may be.
            RecoveryStore::remove(file);
            notes << tr("壊れた回復用ファイルを削除しました: %1")
                         .arg(QString::fromStdString(read.error));
            continue;
        }
        offer = RecoveryOffer{file, std::move(read)};
        break;
    }
    if (!notes.isEmpty()) say(notes);
    return offer;
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
        // A record marked unsaved without an edit (a pasted picture) is
        // copied as an edit is.
        if (!modified)
            discard();
        else if (!m_timer.isActive())
            m_timer.start();
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
    if (const QString refused = claim(); !refused.isEmpty()) return refused;
    const std::string text = recoveryText(m_doc->record(), m_doc->projectPath().toStdString());
    const AtomicWriteResult written = writeFileAtomically(m_file.toStdString(), text);
    if (written.ok) {
        // Whatever the umask: a copy others may write to would not be offered.
        QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
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

QString RecoveryStore::claim() {
    if (m_lock) return {};
    QDir().mkpath(m_folder);
    if (const QString why = folderProblem(true); !why.isEmpty()) {
        refuse(why);
        return why;
    }
    m_lock = std::make_unique<QLockFile>(lockPathFor(m_file));
    m_lock->setStaleLockTime(0);
    m_lock->tryLock(0);
    return {};
}

QString RecoveryStore::folderProblem(bool take) const {
    const QByteArray path = QFile::encodeName(m_folder);
    // Opened without following a link, so that what is checked is what is
    // made private (a link's target is not ours to change).
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0) {
            // Nothing there yet: made with the first copy.
            if (errno == ENOENT) return {};
        } else if (S_ISLNK(st.st_mode)) {
            return tr("回復用フォルダ %1 はシンボリックリンクです。").arg(m_folder);
        } else if (!S_ISDIR(st.st_mode)) {
            return tr("回復用フォルダ %1 はフォルダではありません。").arg(m_folder);
        }
        return tr("回復用フォルダ %1 を開けません: %2")
            .arg(m_folder, QString::fromLocal8Bit(std::strerror(error)));
    }
    struct stat st {};
    QString problem;
    if (::fstat(fd, &st) != 0)
        problem = tr("回復用フォルダ %1 を開けません: %2")
                      .arg(m_folder, QString::fromLocal8Bit(std::strerror(errno)));
    else if (st.st_uid != ::geteuid())
        problem = tr("回復用フォルダ %1 は他のユーザーのものです。").arg(m_folder);
    else if (take)
        ::fchmod(fd, S_IRWXU);  // the copies are the user's own work: nobody else reads them
    ::close(fd);
    return problem;
}

void RecoveryStore::refuse(const QString& why) {
    if (m_reportedRefusal) return;
    m_reportedRefusal = true;
    say({why, tr("保存していない作業の控えは残しません。")});
}

void RecoveryStore::say(const QStringList& lines) {
    if (!m_output) return;
    m_output->setPaneText(
        0, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toStdString());
    m_output->activateOutputTab(0);
}

void RecoveryStore::discard() {
    m_timer.stop();
    QFile::remove(m_file);
}

bool offerRecovery(RecoveryStore& store, ProjectController& projects, Dialogs& dialogs,
                   QWidget* parent) {
    const std::optional<RecoveryOffer> offer = store.nextOffer();
    if (!offer) return false;
    const QString& file = offer->file;
    const ProjectReadResult& read = offer->read;
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
