#include "toolkit/core/strings.h"

namespace wt {

TComponent* TStrings::GetObject(int) const { return nullptr; }

int TStrings::Add(const QString& text) {
    const int index = Count();
    Insert(index, text);
    return Count() > index ? index : -1;
}

int TStrings::Find(const QString& text) const {
    for (int i = 0; i < Count(); ++i)
        if (Get(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TStrings::Exchange(int index1, int index2) {
    const QString first = Get(index1);
    Put(index1, Get(index2));
    Put(index2, first);
}

void TStrings::Move(int from, int to) {
    if (from == to)
        return;
    const QString text = Get(from);
    Delete(from);
    Insert(to, text);
}

void TStrings::Assign(const QStringList& strings) {
    BeginUpdate();
    Clear();
    for (const QString& s : strings)
        Add(s);
    EndUpdate();
}

QStringList TStrings::ToStringList() const {
    QStringList out;
    for (int i = 0; i < Count(); ++i)
        out << Get(i);
    return out;
}

} // namespace wt
