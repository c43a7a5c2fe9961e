#include "host/tools_menu.h"

#include "host/addin_loader.h"

#include <QAction>
#include <QMenu>

#include <exception>

namespace wt {

namespace {

// Runs one call into an expert; a failure is reported and yields false.
template <typename Call>
bool Guarded(const ToolsMenu::Reporter& report, const QString& what, Call call) {
    try {
        call();
        return true;
    } catch (const std::exception& e) {
        report(QStringLiteral("%1 failed: %2").arg(what, QString::fromUtf8(e.what())));
    } catch (...) {
        report(QStringLiteral("%1 failed with an unknown failure.").arg(what));
    }
    return false;
}

} // namespace

ToolsMenu::ToolsMenu(QMenu* menu, AddInLoader& loader, Reporter report)
    : QObject(menu), menu_(menu), loader_(loader), report_(std::move(report)) {
    connect(menu_, &QMenu::aboutToShow, this, &ToolsMenu::Refresh);
    Refresh();
}

void ToolsMenu::Refresh() {
    menu_->clear();
    const auto& experts = loader_.Experts();
    for (size_t i = 0; i < experts.size(); ++i) {
        TIExpert* expert = experts[i].Expert;
        const QString who = QStringLiteral("An expert of add-in \"%1\"").arg(experts[i].AddInName);
        QString text;
        TExpertState state;
        if (!Guarded(report_, who, [&] {
                const char* menuText = expert->GetMenuText();
                text = menuText ? QString::fromUtf8(menuText) : QString();
                state = expert->GetState();
            }))
            continue;
        if (text.isEmpty())
            continue;
        QAction* action = menu_->addAction(text);
        action->setEnabled(state.Contains(esEnabled));
        action->setCheckable(state.Contains(esChecked));
        action->setChecked(state.Contains(esChecked));
        connect(action, &QAction::triggered, this, [this, i] { Execute(i); });
    }
    if (menu_->isEmpty())
        menu_->addAction(QStringLiteral("(no experts)"))->setEnabled(false);
}

void ToolsMenu::Execute(size_t index) {
    const auto& experts = loader_.Experts();
    if (index >= experts.size())
        return;
    const RegisteredExpert registered = experts[index];
    Guarded(report_, QStringLiteral("The expert of add-in \"%1\"").arg(registered.AddInName),
            [&] { registered.Expert->Execute(); });
}

} // namespace wt
