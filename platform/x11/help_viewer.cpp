#include "platform/x11/help_viewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>

#include <dlfcn.h>

namespace wt {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The directory of the module holding this code (the add-in), where its help pages lie.
QString ModuleDirectory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModuleDirectory), &info) && info.dli_fname)
        return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return {};
}

std::optional<QString> ExistingPage(const QString& path) {
    QFileInfo info(path);
    if (info.isFile())
        return info.absoluteFilePath();
    if (info.suffix().compare("hlp", Qt::CaseInsensitive) == 0) {
        const QString base = info.path() + "/" + info.completeBaseName();
        for (const char* suffix : {".html", ".htm", ".HTML", ".HTM"}) {
            QFileInfo page(base + suffix);
            if (page.isFile())
                return page.absoluteFilePath();
        }
        // Case-insensitive base name, as the help file was named on a case-blind system.
        QDir dir(info.path());
        for (const QFileInfo& entry : dir.entryInfoList(QDir::Files)) {
            const QString suffix = entry.suffix().toLower();
            if ((suffix == "html" || suffix == "htm") &&
                entry.completeBaseName().compare(info.completeBaseName(), Qt::CaseInsensitive) == 0)
                return entry.absoluteFilePath();
        }
    }
    return std::nullopt;
}

} // namespace

HelpViewer::HelpViewer() = default;

HelpViewer::~HelpViewer() {
    // A widget cannot be destroyed once the application object is gone (the
    // platform may be torn down by an exit handler after it): the process is
    // ending then, and the window goes with it.
    if (!QCoreApplication::instance())
        (void)browser_.release();
}

std::optional<std::string> HelpViewer::ResolvePage(std::string_view helpFile) {
    if (helpFile.empty())
        return std::nullopt;
    const QString name = ToQString(helpFile);
    auto page = ExistingPage(name);
    if (!page && QFileInfo(name).isRelative()) {
        const QString moduleDir = ModuleDirectory();
        if (!moduleDir.isEmpty())
            page = ExistingPage(moduleDir + "/" + name);
    }
    if (!page)
        return std::nullopt;
    return page->toStdString();
}

bool HelpViewer::HasAnchor(const std::string& page, std::string_view topic) {
    if (topic.empty())
        return true;
    QFile file(QString::fromStdString(page));
    if (!file.open(QIODevice::ReadOnly) || file.size() > 16 * 1024 * 1024)
        return false;
    const QString html = QString::fromUtf8(file.readAll());
    const QRegularExpression anchor(
        QStringLiteral("\\b(?:name|id)\\s*=\\s*[\"']?%1[\"'\\s>/]")
            .arg(QRegularExpression::escape(ToQString(topic))),
        QRegularExpression::CaseInsensitiveOption);
    return anchor.match(html).hasMatch();
}

bool HelpViewer::Show(std::string_view helpFile, std::string_view topic, std::string* problem) {
    auto fail = [&](const QString& text) {
        if (problem)
            *problem = text.toStdString();
        return false;
    };
    const auto page = ResolvePage(helpFile);
    if (!page) {
        const QString name = ToQString(helpFile);
        if (name.isEmpty())
            return fail(QStringLiteral("No help file has been named."));
        const QString where = QFileInfo(name).isRelative() ? ModuleDirectory() : QFileInfo(name).path();
        return fail(QStringLiteral("The help file \"%1\" could not be found: there is no page "
                                   "%2.html beside it in \"%3\".")
                        .arg(name, QFileInfo(name).completeBaseName(), where));
    }
    if (!HasAnchor(*page, topic))
        return fail(QStringLiteral("The help page \"%1\" has no topic \"%2\".")
                        .arg(QString::fromStdString(*page), ToQString(topic)));
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    if (!browser_) {
        browser_ = std::make_unique<QTextBrowser>();
        // Gone with the event loop, while widgets can still be destroyed (the
        // deferred deletions run as the loop winds up).
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                         browser_.get(), [this] { browser_.release()->deleteLater(); });
        browser_->setWindowTitle(QStringLiteral("Wingtucker Help"));
        browser_->resize(560, 480);
        browser_->setOpenExternalLinks(true);
    }
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(*page));
    if (!topic.empty())
        url.setFragment(ToQString(topic));
    browser_->setSource(url);
    if (!topic.empty())
        browser_->scrollToAnchor(ToQString(topic));
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
    return true;
}

} // namespace wt
