// The "Object Inspector" window, of window class "TPropertyInspector": the
// selected component and the grid of its properties and events. It shows the
// open project's main form; it is empty while no project is open.
#pragma once

#include <QPoint>
#include <QWidget>

#include <optional>

class QComboBox;
class QTableWidget;

namespace wt {

inline constexpr int InspectorWidth = 220;
inline constexpr int InspectorHeight = 450;

class InspectorWindow : public QWidget {
    Q_OBJECT
public:
    explicit InspectorWindow(QWidget* parent = nullptr);

    void ShowProject(const QString& projectName);
    int PropertyCount() const;
    // The value the grid shows for a property of the selected component.
    std::optional<QString> PropertyValue(const QString& name) const;
    // The screen point in the middle of that value, as Qt places the window.
    std::optional<QPoint> PropertyValuePoint(const QString& name) const;

private:
    void ShowComponent(int index);

    QComboBox* components_;
    QTableWidget* properties_;
    QTableWidget* events_;
    QString project_;
};

} // namespace wt
