// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/qt/file_dialogs.h"

#include <QAbstractFileIconProvider>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIcon>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace ks {

namespace {

bool UnderKernelFiles(const QString& folder)
{
    for (const QLatin1String root : {QLatin1String("/proc"), QLatin1String("/sys"), QLatin1String("/dev")})
        if (folder == root || folder.startsWith(root + QLatin1Char('/'))) return true;
    return false;
}

// Types and icons from the file name alone: nothing is opened, so nothing
// can block. The icons of each kind are those of the provider a model came
// with (the style's), taken once before any model uses this one.
class NameOnlyIconProvider final : public QAbstractFileIconProvider {
public:
    void TakeIcons(const QAbstractFileIconProvider& from)
    {
        if (taken_) return;
        for (int t = Computer; t <= File; ++t) icons_[t] = from.icon(IconType(t));
        taken_ = true;
    }
    QIcon icon(IconType type) const override { return taken_ ? icons_[type] : QAbstractFileIconProvider::icon(type); }
    QIcon icon(const QFileInfo& info) const override
    {
        if (info.isDir()) return icon(Folder);
        return QIcon::fromTheme(MimeOf(info).iconName(), icon(File));
    }
    QString type(const QFileInfo& info) const override
    {
        if (info.isDir()) return QAbstractFileIconProvider::type(info);
        const QMimeType mime = MimeOf(info);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeType MimeOf(const QFileInfo& info) const
    {
        return mimes_.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    }

    QMimeDatabase mimes_;
    QIcon icons_[File + 1];
    bool taken_ = false;
};

// Keeps the models of every dialog the application shows.
class ShowWatch final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->inherits("QDialog")) KeepFileModelsFromReading(*watched);
        return false;
    }
};

}  // namespace

QString DialogFolder(const QString& remembered)
{
    const QFileInfo info(remembered);
    // The real place counts: a link may lead under /proc from anywhere.
    const QString real = info.canonicalFilePath();
    if (!remembered.isEmpty() && info.isDir() && !real.isEmpty() && !UnderKernelFiles(real) &&
        !UnderKernelFiles(QDir::cleanPath(info.absoluteFilePath())))
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void KeepFileModelsFromReading(QObject& root)
{
    // Stateless, so one serves every model for the life of the program.
    static NameOnlyIconProvider provider;
    for (QFileSystemModel* m : root.findChildren<QFileSystemModel*>()) {
        if (m->iconProvider() == &provider) continue;
        if (m->iconProvider()) provider.TakeIcons(*m->iconProvider());
        m->setIconProvider(&provider);
    }
}

void KeepFileModelsFromReadingInEveryWindow(QCoreApplication& app)
{
    static const QString name = QStringLiteral("ks-file-model-watch");
    if (app.findChild<QObject*>(name, Qt::FindDirectChildrenOnly)) return;  // once
    auto* watch = new ShowWatch(&app);
    watch->setObjectName(name);
    app.installEventFilter(watch);
}

}  // namespace ks
