// Drag and drop as controls report it: the events of a drop target and the
// drag object that stands for what is dragged in from another program (a
// file manager's list of files). A drag of one of the toolkit's own
// controls (TControl::BeginDrag) has that control as its source.
#pragma once

#include "toolkit/core/component.h"
#include "toolkit/core/event.h"

#include <QStringList>

namespace wt {

enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// Sender, Source, X, Y (the target's client coordinates).
using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;
// Sender, Source, X, Y, State, Accept (true unless a handler clears it).
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, TDragState, bool&>;
// Sender, Target, X, Y.
using TEndDragEvent = TEvent<TObject*, TObject*, int, int>;

// What is being dragged in from outside: the local files of a URI list.
class TDragObject : public TComponent {
    Q_OBJECT
public:
    explicit TDragObject(QStringList files) : files_(std::move(files)) {}
    const QStringList& Files() const { return files_; }

private:
    QStringList files_;
};

} // namespace wt
