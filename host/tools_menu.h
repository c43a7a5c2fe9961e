// The Tools menu: one entry per registered expert, with the expert's menu
// text, enabled and checked as its state says, running its Execute. The
// entries are rebuilt from the experts' answers whenever the menu opens.
#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenu;

namespace wt {

class AddInLoader;

class ToolsMenu : public QObject {
    Q_OBJECT
public:
    using Reporter = std::function<void(const QString&)>;

    ToolsMenu(QMenu* menu, AddInLoader& loader, Reporter report);

    // Asks every expert again for its menu text and state.
    void Refresh();
    QMenu* Menu() const { return menu_; }

private:
    void Execute(size_t index);

    QMenu* menu_;
    AddInLoader& loader_;
    Reporter report_;
};

} // namespace wt
