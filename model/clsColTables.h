#pragma once
// The register tables of one owner (a coupler's tables, a terminal's channel tables),
// keyed by table number and enumerated in insertion order. Tables are shared: a dialog
// may keep one after its owner dropped it.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "model/clsTable.h"

namespace varnak {

class clsColTables {
  public:
    using Entry = std::pair<int32_t, std::shared_ptr<clsTable>>;

    // A new table under lTableNr; its TableNr, PosNr and TableLen are the owner's to set.
    // std::invalid_argument when the number is already present.
    std::shared_ptr<clsTable> Add(int32_t lTableNr);
    // The table under that number, or nullptr.
    std::shared_ptr<clsTable> Item(int32_t lTableNr) const;
    int32_t Count() const { return static_cast<int32_t>(tables_.size()); }
    // std::invalid_argument when the number is absent.
    void Remove(int32_t lTableNr);

    // Iteration in insertion order over the tables.
    class Iterator {
      public:
        explicit Iterator(std::vector<Entry>::const_iterator at) : at_(at) {}
        const std::shared_ptr<clsTable>& operator*() const { return at_->second; }
        Iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator==(const Iterator&) const = default;

      private:
        std::vector<Entry>::const_iterator at_;
    };
    Iterator begin() const { return Iterator(tables_.begin()); }
    Iterator end() const { return Iterator(tables_.end()); }

  private:
    std::vector<Entry>::const_iterator find(int32_t lTableNr) const;

    std::vector<Entry> tables_;
};

}  // namespace varnak
