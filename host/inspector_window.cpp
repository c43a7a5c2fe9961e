#include "host/inspector_window.h"

#include "host/x11_class.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace wt {

namespace {

struct Component {
    QString Name;
    QString Type;
    QList<QPair<QString, QString>> Properties;
};

QList<Component> ComponentsOfForm() {
    return {
        {QStringLiteral("Form1"),
         QStringLiteral("TForm1"),
         {{"ActiveControl", ""},
          {"AutoScroll", "True"},
          {"BorderStyle", "bsSizeable"},
          {"Caption", "Form1"},
          {"ClientHeight", "273"},
          {"ClientWidth", "427"},
          {"Color", "clBtnFace"},
          {"Cursor", "crDefault"},
          {"Enabled", "True"},
          {"Font", "(TFont)"},
          {"FormStyle", "fsNormal"},
          {"Height", "300"},
          {"Left", "200"},
          {"Name", "Form1"},
          {"Position", "poDesigned"},
          {"Top", "108"},
          {"Visible", "False"},
          {"Width", "435"},
          {"WindowState", "wsNormal"}}},
        {QStringLiteral("Button1"),
         QStringLiteral("TButton"),
         {{"Cancel", "False"},
          {"Caption", "Button1"},
          {"Default", "False"},
          {"Enabled", "True"},
          {"Height", "25"},
          {"Left", "16"},
          {"ModalResult", "mrNone"},
          {"Name", "Button1"},
          {"TabOrder", "0"},
          {"Top", "16"},
          {"Visible", "True"},
          {"Width", "75"}}},
    };
}

QTableWidget* MakeGrid(QWidget* parent) {
    auto* grid = new QTableWidget(0, 2, parent);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->verticalHeader()->setDefaultSectionSize(18);
    // Values are typed in, as in the IDE: a click on the value and a key start the edit.
    grid->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    return grid;
}

void Fill(QTableWidget* grid, const QList<QPair<QString, QString>>& rows) {
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        auto* name = new QTableWidgetItem(rows[i].first);
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        grid->setItem(i, 0, name);
        grid->setItem(i, 1, new QTableWidgetItem(rows[i].second));
    }
}

} // namespace

InspectorWindow::InspectorWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Object Inspector"));
    components_ = new QComboBox(this);
    auto* tabs = new QTabWidget(this);
    properties_ = MakeGrid(tabs);
    events_ = MakeGrid(tabs);
    tabs->addTab(properties_, QStringLiteral("Properties"));
    tabs->addTab(events_, QStringLiteral("Events"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(components_);
    layout->addWidget(tabs, 1);
    connect(components_, &QComboBox::currentIndexChanged, this, &InspectorWindow::ShowComponent);
    resize(InspectorWidth, InspectorHeight);
    SetWindowClass(this, "hostide", "TPropertyInspector");
}

void InspectorWindow::ShowProject(const QString& projectName) {
    project_ = projectName;
    components_->clear();
    if (projectName.isEmpty()) {
        ShowComponent(-1);
        return;
    }
    for (const Component& component : ComponentsOfForm())
        components_->addItem(component.Name + QStringLiteral(": ") + component.Type);
    components_->setCurrentIndex(0);
}

void InspectorWindow::ShowComponent(int index) {
    const QList<Component> components = ComponentsOfForm();
    if (index < 0 || index >= components.size() || project_.isEmpty()) {
        Fill(properties_, {});
        Fill(events_, {});
        return;
    }
    Fill(properties_, components[index].Properties);
    Fill(events_, {{"OnClick", ""}, {"OnCreate", ""}, {"OnDestroy", ""}, {"OnShow", ""}});
}

int InspectorWindow::PropertyCount() const { return properties_->rowCount(); }

std::optional<QPoint> InspectorWindow::PropertyValuePoint(const QString& name) const {
    for (int row = 0; row < properties_->rowCount(); ++row) {
        const QTableWidgetItem* key = properties_->item(row, 0);
        QTableWidgetItem* value = properties_->item(row, 1);
        if (!key || !value || key->text() != name)
            continue;
        properties_->scrollToItem(value);
        const QRect cell = properties_->visualItemRect(value);
        return properties_->viewport()->mapToGlobal(cell.center());
    }
    return std::nullopt;
}

std::optional<QString> InspectorWindow::PropertyValue(const QString& name) const {
    for (int row = 0; row < properties_->rowCount(); ++row) {
        const QTableWidgetItem* key = properties_->item(row, 0);
        const QTableWidgetItem* value = properties_->item(row, 1);
        if (key && value && key->text() == name)
            return value->text();
    }
    return std::nullopt;
}

} // namespace wt
