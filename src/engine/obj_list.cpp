// TZuScriptObjList: the owning, name-sorted entity list behind every lookup,
// with its hash index of first matches.
#include <algorithm>

#include "engine/script.h"
#include "support/text_utils.h"

namespace zu {

namespace {

constexpr size_t kFirstIndexSize = 8;

}  // namespace

void TZuScriptObjList::Changed() {
  // Lists without a script (a test's own list) have no run to tell.
  if (Owner != nullptr) ++Owner->Context().ListEpoch;
}

TZuScriptRoot* TZuScriptObjList::Add(std::unique_ptr<TZuScriptRoot> entity) {
  if (!entity) return nullptr;
  TZuScriptRoot* added = entity.get();
  // The list is always sorted, so the new entity goes after every entity
  // whose name is not greater: the same order a stable re-sort would give,
  // and an entity added twice under one name is found in adding order.
  auto at = std::upper_bound(items_.begin(), items_.end(), added->Name,
                             [](const std::string& name, const std::unique_ptr<TZuScriptRoot>& e) {
                               return name < e->Name;
                             });
  items_.insert(at, std::move(entity));
  if ((indexed_ + 1) * 2 > index_.size()) {
    Reindex();  // includes the new entity
  } else {
    IndexEntity(added, NameHash(added->Name));
  }
  Changed();
  return added;
}

void TZuScriptObjList::IndexEntity(TZuScriptRoot* entity, uint32_t hash) {
  const size_t mask = index_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = index_[i];
    if (slot.Entity == nullptr) {
      slot = Slot{hash, entity};
      ++indexed_;
      return;
    }
    if (slot.Hash == hash && SameTextAscii(slot.Entity->Name, entity->Name)) {
      // A second entity for one name: the one whose name sorts first (the
      // earlier added of two equal names) stays the match.
      if (entity->Name < slot.Entity->Name) slot.Entity = entity;
      ++generation_;
      return;
    }
  }
}

void TZuScriptObjList::Reindex() {
  size_t size = kFirstIndexSize;
  while (size < items_.size() * 2 + 2) size *= 2;
  index_.assign(size, Slot{});
  indexed_ = 0;
  // In list order, so the first match of each name is indexed first. The
  // names are the same as before: the generation stays.
  const uint32_t generation = generation_;
  for (const auto& e : items_) IndexEntity(e.get(), NameHash(e->Name));
  generation_ = generation;
}

TZuScriptRoot* TZuScriptObjList::Find(std::string_view name, uint32_t hash) const {
  if (indexed_ == 0) return nullptr;
  const size_t mask = index_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = index_[i];
    if (slot.Entity == nullptr) return nullptr;
    if (slot.Hash == hash && SameTextAscii(slot.Entity->Name, name)) return slot.Entity;
  }
}

void TZuScriptObjList::ClearEntities() {
  // The entities leave the list before they are freed (last one first), so
  // a destructor that looks at the list sees it consistent.
  std::vector<std::unique_ptr<TZuScriptRoot>> gone;
  gone.swap(items_);
  std::fill(index_.begin(), index_.end(), Slot{});
  indexed_ = 0;
  ++generation_;
  Changed();
  while (!gone.empty()) {
    std::unique_ptr<TZuScriptRoot> last = std::move(gone.back());
    gone.pop_back();
    last.reset();
  }
  if (items_.empty()) items_.swap(gone);  // keeps the storage for the next use
}

}  // namespace zu
