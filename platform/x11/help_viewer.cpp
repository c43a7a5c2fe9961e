#include "platform/x11/help_viewer.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include <functional>

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

// Calls gone when the widget it watches is hidden, once.
class HideWatch : public QObject {
public:
    HideWatch(QWidget* watched, std::function<void()> gone)
        : watched_(watched), gone_(std::move(gone)) {
        watched->installEventFilter(this);
    }
    ~HideWatch() override {
        if (watched_)
            watched_->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == watched_ && event->type() == QEvent::Hide && gone_) {
            auto gone = std::move(gone_);
            gone_ = nullptr;
            gone();
        }
        return false;
    }

private:
    QPointer<QWidget> watched_;
    std::function<void()> gone_;
};

} // namespace

HelpViewer::HelpViewer() = default;

HelpViewer::~HelpViewer() {
    // A widget cannot be destroyed once the application object is gone (the
    // platform may be torn down by an exit handler after it): the process is
    // ending then, and the window goes with it.
    if (!QCoreApplication::instance()) {
        (void)modalWatch_.release();
        return;
    }
    modalWatch_.reset();
    delete browser_.data();
}

void HelpViewer::MakeBrowser() {
    browser_ = new QTextBrowser();
    // Gone with the event loop, while widgets can still be destroyed (the
    // deferred deletions run as the loop winds up).
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, browser_.data(),
                     [this] {
                         modalWatch_.reset();
                         browser_->setParent(nullptr);
                         browser_->deleteLater();
                     });
    browser_->setWindowTitle(QStringLiteral("Wingtucker Help"));
    browser_->resize(560, 480);
    browser_->setOpenExternalLinks(true);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), browser_.data());
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, browser_.data(), &QWidget::close);
}

void HelpViewer::Reparent(QWidget* parent) {
    const QRect geometry = browser_->geometry();
    const bool shown = browser_->isVisible();
    browser_->setParent(parent, Qt::Window);
    // Where it stood, once it stood anywhere; a window not shown yet is
    // placed by the manager, not put at the corner.
    if (shown)
        browser_->setGeometry(geometry);
    else
        browser_->resize(geometry.size());
    if (shown)
        browser_->show();
}

void HelpViewer::FollowModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == browser_.data() || modal == browser_->parentWidget())
        return;
    modalWatch_.reset();
    Reparent(modal);
    if (!modal)
        return;
    // Before the dialog is freed, which would free its windows with it.
    modalWatch_ = std::make_unique<HideWatch>(modal, [this] {
        if (!browser_)
            return;
        Reparent(nullptr);
        // Not from inside its own event filter.
        QObject* watch = modalWatch_.get();
        QMetaObject::invokeMethod(
            browser_.data(),
            [this, watch] {
                if (modalWatch_.get() == watch)
                    modalWatch_.reset();
            },
            Qt::QueuedConnection);
    });
}

void HelpViewer::PadBelow() {
    QTextFrame* root = browser_->document()->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    const int room = browser_->viewport()->height();
    if (format.bottomMargin() != room) {
        format.setBottomMargin(room);
        root->setFrameFormat(format);
    }
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
    const QRegularExpression anchor(QStringLiteral("\\b(?:name|id)\\s*=\\s*[\"']?%1[\"'\\s>/]")
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
        const QString where =
            QFileInfo(name).isRelative() ? ModuleDirectory() : QFileInfo(name).path();
        return fail(QStringLiteral("The help file \"%1\" could not be found: there is no page "
                                   "%2.html beside it in \"%3\".")
                        .arg(name, QFileInfo(name).completeBaseName(), where));
    }
    if (!HasAnchor(*page, topic))
        return fail(QStringLiteral("The help page \"%1\" has no topic \"%2\".")
                        .arg(QString::fromStdString(*page), ToQString(topic)));
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    if (!browser_)
        MakeBrowser();
    FollowModal();
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(*page));
    if (!topic.empty())
        url.setFragment(ToQString(topic));
    browser_->setSource(url);
    browser_->show();
    PadBelow();
    if (!topic.empty())
        browser_->scrollToAnchor(ToQString(topic));
    browser_->raise();
    browser_->activateWindow();
    return true;
}

} // namespace wt
