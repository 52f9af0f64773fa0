// The keyed collection that holds the program's shared objects: items kept in
// insertion order, reached by 1-based position or by an optional text key.
// Items are shared, so an object taken from one collection may be held by
// another (the map window and the customer record hold the same maps).
// Keys are found through a hash index beside the insertion order, so adding
// and looking up cost the same for the 100,000th item as for the first.
#pragma once

#include <QHash>
#include <QString>

#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

template <class T, class Key = QString>
class Collection {
 public:
  using Item = std::shared_ptr<T>;

 private:
  struct Entry {
    Key key;
    Item item;
  };

 public:
  // Adds at the end. A non-empty key must be new: a repeated key is refused
  // and the collection is left as it was. An empty key adds without a key.
  bool add(Item item, const Key& key = Key()) {
    if (!key.isEmpty()) {
      if (positions_.contains(key)) return false;
      positions_.insert(key, count() + 1);
    }
    entries_.push_back({key, std::move(item)});
    return true;
  }

  int count() const { return static_cast<int>(entries_.size()); }
  bool isEmpty() const { return entries_.empty(); }

  // The item at a position from 1 to count(), or null outside.
  Item item(int position) const {
    if (position < 1 || position > count()) return nullptr;
    return entries_[static_cast<std::size_t>(position - 1)].item;
  }
  // The item added under the key, or null when there is none.
  Item item(const Key& key) const {
    const int position = positionOf(key);
    return position ? item(position) : nullptr;
  }
  bool contains(const Key& key) const { return positionOf(key) != 0; }
  // The key the item at a position was added with ("" when none).
  Key keyAt(int position) const {
    if (position < 1 || position > count()) return Key();
    return entries_[static_cast<std::size_t>(position - 1)].key;
  }
  // 1-based position of the key, 0 when absent.
  int positionOf(const Key& key) const {
    if (key.isEmpty()) return 0;
    return positions_.value(key, 0);
  }

  // Removing moves the later items up one position, their index entries too.
  bool remove(int position) {
    if (position < 1 || position > count()) return false;
    const auto removed = entries_.begin() + (position - 1);
    if (!removed->key.isEmpty()) positions_.remove(removed->key);
    for (auto later = removed + 1; later != entries_.end(); ++later) {
      if (!later->key.isEmpty()) --positions_[later->key];
    }
    entries_.erase(removed);
    return true;
  }
  bool remove(const Key& key) { return remove(positionOf(key)); }
  void clear() {
    entries_.clear();
    positions_.clear();
  }

  // Enumeration in insertion order yields the items.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Item;
    using difference_type = std::ptrdiff_t;
    using pointer = const Item*;
    using reference = const Item&;

    explicit const_iterator(typename std::vector<Entry>::const_iterator at) : at_(at) {}
    const Item& operator*() const { return at_->item; }
    const_iterator& operator++() {
      ++at_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++at_;
      return before;
    }
    bool operator==(const const_iterator& other) const { return at_ == other.at_; }

   private:
    typename std::vector<Entry>::const_iterator at_;
  };
  const_iterator begin() const { return const_iterator(entries_.begin()); }
  const_iterator end() const { return const_iterator(entries_.end()); }

 private:
  std::vector<Entry> entries_;
  QHash<Key, int> positions_;  // key -> 1-based position in entries_
};
