// The game's lists of world records: append at the end, remove a given record, and iterate
// oldest first in a way that survives removing the record being visited.
#pragma once

#include <cstddef>

// Each record lives inside its list's link, so adding a record allocates nothing beyond the
// record itself, and removed links are kept for reuse: a steady stream of records costs no
// allocation at all once the list has reached its working size.
template <class T>
class TList {
    struct Link {
        Link* prev = nullptr;
        Link* next = nullptr;
        Link* spare = nullptr;   // chains unlinked links kept for reuse
        T value{};
    };

  public:
    class iterator {
      public:
        iterator(Link* at, const Link* end) : at_(at), next_(at != end ? at->next : at) {}
        T& operator*() const { return at_->value; }
        T* operator->() const { return &at_->value; }
        // Steps to the successor noted before the body ran, so the body may remove *this.
        iterator& operator++() {
            at_ = next_;
            next_ = at_->next;
            return *this;
        }
        bool operator!=(const iterator& other) const { return at_ != other.at_; }
        bool operator==(const iterator& other) const { return at_ == other.at_; }

      private:
        Link* at_;
        Link* next_;
    };

    TList() { sentinel_.prev = sentinel_.next = &sentinel_; }
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    ~TList() {
        Clear();
        while (spare_) {
            Link* link = spare_;
            spare_ = spare_->spare;
            delete link;
        }
    }

    // Appends a new record with every field zero and returns it.
    T& AddLast() {
        Link* link = spare_;
        if (link) {
            spare_ = link->spare;
            link->value = T{};
        } else {
            link = new Link;
        }
        link->prev = sentinel_.prev;
        link->next = &sentinel_;
        sentinel_.prev->next = link;
        sentinel_.prev = link;
        ++count_;
        return link->value;
    }

    // Unlinks the first link, searching from the oldest, that holds this very record;
    // nothing happens when it is absent.
    void Remove(const T* record) {
        for (Link* link = sentinel_.next; link != &sentinel_; link = link->next) {
            if (&link->value != record) continue;
            link->prev->next = link->next;
            link->next->prev = link->prev;
            // The unlinked link keeps its own successor, so an iteration standing on it
            // goes on where it would have; it is reused by a later AddLast.
            link->spare = spare_;
            spare_ = link;
            --count_;
            return;
        }
    }

    void Clear() {
        while (sentinel_.next != &sentinel_) Remove(&sentinel_.next->value);
    }

    int Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    iterator begin() { return iterator(sentinel_.next, &sentinel_); }
    iterator end() { return iterator(&sentinel_, &sentinel_); }

  private:
    Link sentinel_;
    Link* spare_ = nullptr;
    int count_ = 0;
};

template <class T>
T& ListAddLast(TList<T>& list) { return list.AddLast(); }

template <class T>
void ListRemove(TList<T>& list, const T& record) { list.Remove(&record); }
