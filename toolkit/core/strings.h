// TStrings: the abstract list of strings with an object beside each, as list
// boxes, memos and the notebook's pages present their contents. A subclass
// keeps the strings its own way and gives the five core operations; the rest
// (add, find, exchange, move, assignment) is built on them.
#pragma once

#include <QString>
#include <QStringList>

namespace wt {

class TComponent;

class TStrings {
public:
    TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;
    virtual ~TStrings() = default;

    virtual int Count() const = 0;
    virtual QString Get(int index) const = 0;
    virtual TComponent* GetObject(int index) const;
    // Replaces the string at index.
    virtual void Put(int index, const QString& text) = 0;
    virtual void Insert(int index, const QString& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    // The index of the new string, or -1 when the list refused it.
    virtual int Add(const QString& text);
    // The first index whose string equals text ignoring case, else -1.
    virtual int Find(const QString& text) const;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int from, int to);
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}

    // Clear, then Add each string, so the list's own rules apply to both.
    void Assign(const QStringList& strings);
    void Assign(const TStrings& strings) { Assign(strings.ToStringList()); }
    QStringList ToStringList() const;
};

} // namespace wt
