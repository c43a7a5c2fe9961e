// The add-in's help viewer on the real desktop: the help "file" is an HTML
// page (a name ending in .hlp stands for the page beside it with the same base
// name), a topic is an anchor in it, shown in a small browser window.
#pragma once

#include <QPointer>
#include <QTextBrowser>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QObject;
class QWidget;

namespace wt {

class HelpViewer {
public:
    HelpViewer();
    ~HelpViewer();
    // False when the page or the anchor does not exist, or widgets cannot be
    // shown; problem then says which, for the user.
    bool Show(std::string_view helpFile, std::string_view topic, std::string* problem = nullptr);

    // The HTML page that stands for helpFile, if there is one.
    static std::optional<std::string> ResolvePage(std::string_view helpFile);
    static bool HasAnchor(const std::string& page, std::string_view topic);

private:
    void MakeBrowser();
    // A modal dialog of ours blocks every window but its own: the help it
    // asked for becomes its window while it is up, and stands alone again
    // once it is gone.
    void FollowModal();
    void Reparent(QWidget* parent);
    // Room below the page, so that every topic can be shown at the top.
    void PadBelow();

    // Watched, not owned alone: while it is a dialog's window, freeing the
    // dialog frees it too.
    QPointer<QTextBrowser> browser_;
    std::unique_ptr<QObject> modalWatch_;
};

} // namespace wt
