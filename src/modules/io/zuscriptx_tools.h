// The toolkit on which the io module's classes are written: the base class
// TZuScriptX_Object with its function and property checks, the class written
// as a table of methods and properties, the two owning lists, and the
// module-wide registry the entry points work on.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "values/script_value.h"

namespace zu::io {

// One function of a class or of the module: its name and argument count.
class TZuScriptX_Function {
 public:
  TZuScriptX_Function(std::string name, int32_t argCount)
      : Name(std::move(name)), ArgCount(argCount) {}
  std::string Name;
  int32_t ArgCount;
};

// An owning list kept in ordinal (byte-wise) order of each entry's Key; an
// entry added under an equal key follows the ones already there. Clear frees
// the entries first to last or, with ClearFromLast, last to first.
template <class Item, std::string Item::*Key, bool ClearFromLast>
class TZuScriptX_SortedList {
 public:
  TZuScriptX_SortedList() = default;
  ~TZuScriptX_SortedList() { Clear(); }
  TZuScriptX_SortedList(const TZuScriptX_SortedList&) = delete;
  TZuScriptX_SortedList& operator=(const TZuScriptX_SortedList&) = delete;

  // Takes ownership and keeps the list sorted; a null item is ignored.
  // Returns the item (null for null).
  Item* Add(std::unique_ptr<Item> item) {
    if (!item) return nullptr;
    Item* added = item.get();
    std::string_view key = added->*Key;
    auto at = std::upper_bound(items_.begin(), items_.end(), key,
                               [](std::string_view k, const std::unique_ptr<Item>& entry) {
                                 return k.compare(entry.get()->*Key) < 0;
                               });
    items_.insert(at, std::move(item));
    return added;
  }
  void Clear() {
    if constexpr (ClearFromLast) {
      while (!items_.empty()) items_.pop_back();
    } else {
      for (auto& item : items_) item.reset();
      items_.clear();
    }
  }
  size_t Count() const { return items_.size(); }
  Item* Get(size_t index) const { return items_[index].get(); }

 protected:
  std::vector<std::unique_ptr<Item>> items_;
};

// True when both names are equal once upper-cased with the platform's
// mapping; the lists' and the classes' name lookups.
bool SameUpperName(std::string_view a, std::string_view b);

// The functions of a class or of the module, in ordinal order of Name.
class TZuScriptX_FunctionsList
    : public TZuScriptX_SortedList<TZuScriptX_Function, &TZuScriptX_Function::Name, false> {
 public:
  // The first entry, in list order, whose name equals name ignoring case.
  TZuScriptX_Function* Find(std::string_view name) const;
};

// Base class of every module class: the names and the checks every call
// passes first. Concrete classes derive from TZuScriptX_TableObject below,
// which fills Functions and Properties from their tables.
class TZuScriptX_Object {
 public:
  static constexpr int kMaxSubProperties = 16;

  TZuScriptX_Object(std::string className, std::string objectName);
  virtual ~TZuScriptX_Object() = default;
  TZuScriptX_Object(const TZuScriptX_Object&) = delete;
  TZuScriptX_Object& operator=(const TZuScriptX_Object&) = delete;

  // Splits a property path at its dots into SubProperties; false with "Too
  // much subproperties" for more than 16 parts.
  bool SplitProperty(const std::string& path);
  // What SplitProperty leaves for a path without dots, without the work of
  // splitting it.
  void NoteSimplePath(const std::string& path);

  // The function must exist and take lastIndex + 1 arguments; false with
  // LastError set otherwise. The base does no work and leaves result alone.
  virtual bool CallFunction(const std::string& name, const std::vector<ScriptValue>& values,
                            int lastIndex, ScriptValue& result);
  // The first part of the path must be a property of the class.
  virtual bool GetProperty(const std::string& name, ScriptValue& value);
  virtual bool SetProperty(const std::string& name, const ScriptValue& value);

  std::string ClassName;
  std::string ObjectName;
  TZuScriptX_FunctionsList Functions;
  std::vector<std::string> Properties;  // in the order added
  std::string SubProperties[kMaxSubProperties];

 private:
  // True while SubProperties[1..15] are known to be empty.
  bool tailEmpty_ = true;

 protected:
  void AddFunction(const char* name, int32_t argCount);
  void AddProperty(const char* name) { Properties.emplace_back(name); }
  // The base check's message for a call with the wrong number of arguments.
  bool WrongArgumentCount(const std::string& name, const TZuScriptX_Function& function);
  // The messages of a name the base accepted but the class does not handle.
  bool NotImplemented(const std::string& name);
  bool WriteOnly(const std::string& name);
  bool ReadOnly(const std::string& name);
};

// One method of a module class: the name scripts call it by, its argument
// count and the handler that does the work once the base checks passed.
template <class Class>
struct TZuScriptX_Method {
  const char* Name;
  int32_t ArgCount;
  bool (*Call)(Class& object, const std::vector<ScriptValue>& values, ScriptValue& result);
};

// One property of a module class; a null Get makes it write-only, a null
// Set read-only.
template <class Class>
struct TZuScriptX_Property {
  const char* Name;
  bool (*Get)(Class& object, ScriptValue& value);
  bool (*Set)(Class& object, const ScriptValue& value);
};

// A module class written as two tables, one row per method and per
// property. The constructor registers the rows, in table order, in Functions
// and Properties for the base checks; each operation then hands a name that
// passed them to the row of the same upper-cased name. A name that passed
// but has no such row or no handler in it (a dotted property path) gets the
// "not implemented", "write-only" or "read-only" message.
//
// Names are matched this way once per spelling: a name that reached a row is
// kept by its exact bytes with what the checks found, and later calls with
// it go straight to the row. The tables never change after construction, so
// a kept answer stays true; a name that failed is not kept and fails the
// same way again.
template <class Class>
class TZuScriptX_TableObject : public TZuScriptX_Object {
 public:
  using Method = TZuScriptX_Method<Class>;
  using Property = TZuScriptX_Property<Class>;
  using Values = std::vector<ScriptValue>;

  bool CallFunction(const std::string& name, const std::vector<ScriptValue>& values, int lastIndex,
                    ScriptValue& result) override {
    // A script calls the same method over and over: the last one found is
    // compared first.
    const MethodId* id = lastMethod_ != nullptr && lastMethod_->first == name ? &lastMethod_->second
                                                                               : nullptr;
    if (id == nullptr) {
      auto known = methodIds_.find(name);
      if (known == methodIds_.end()) {
        if (!TZuScriptX_Object::CallFunction(name, values, lastIndex, result)) return false;
        const Method* method = RowOf(methods_, name);
        if (method == nullptr || method->Call == nullptr) return NotImplemented(name);
        known = methodIds_.emplace(name, MethodId{Functions.Find(name), method}).first;
        lastMethod_ = &*known;
        return known->second.Row->Call(Self(), values, result);
      }
      lastMethod_ = &*known;
      id = &known->second;
    }
    if (lastIndex + 1 != id->Function->ArgCount) return WrongArgumentCount(name, *id->Function);
    return id->Row->Call(Self(), values, result);
  }
  bool GetProperty(const std::string& name, ScriptValue& value) override {
    bool passed = false;
    const Property* property = LookUpProperty(name, passed);
    if (!passed) return false;
    return ReadProperty(name, property, value);
  }
  bool SetProperty(const std::string& name, const ScriptValue& value) override {
    bool passed = false;
    const Property* property = LookUpProperty(name, passed);
    if (!passed) return false;
    if (property == nullptr || property->Set == nullptr) return ReadOnly(name);
    return property->Set(Self(), value);
  }

 protected:
  TZuScriptX_TableObject(std::string className, std::string objectName,
                         std::span<const Method> methods, std::span<const Property> properties)
      : TZuScriptX_Object(std::move(className), std::move(objectName)),
        methods_(methods),
        properties_(properties) {
    for (const Method& method : methods_) AddFunction(method.Name, method.ArgCount);
    for (const Property& property : properties_) AddProperty(property.Name);
  }

  // The base check of a property name, then its row: `passed` false when
  // the check failed (LastError set); a null row for a name that passed but
  // has none (a dotted path).
  const Property* LookUpProperty(const std::string& name, bool& passed) {
    auto known = lastProperty_ != nullptr && lastProperty_->first == name
                     ? lastProperty_
                     : FoundOrNull(propertyIds_.find(name));
    if (known != nullptr) {
      lastProperty_ = known;
      NoteSimplePath(name);
      passed = true;
      return known->second;
    }
    ScriptValue unused;
    passed = TZuScriptX_Object::GetProperty(name, unused);
    if (!passed) return nullptr;
    const Property* property = RowOf(properties_, name);
    if (property != nullptr) propertyIds_.emplace(name, property);
    return property;
  }
  // The getter step of GetProperty, for a class that checks more between
  // the base check and its getters.
  bool ReadProperty(const std::string& name, const Property* property, ScriptValue& value) {
    if (property == nullptr || property->Get == nullptr) return WriteOnly(name);
    return property->Get(Self(), value);
  }

 private:
  struct MethodId {
    const TZuScriptX_Function* Function;  // the entry the argument count is checked against
    const Method* Row;
  };

  template <class Row>
  static const Row* RowOf(std::span<const Row> rows, const std::string& name) {
    for (const Row& row : rows) {
      if (SameUpperName(row.Name, name)) return &row;
    }
    return nullptr;
  }
  Class& Self() { return static_cast<Class&>(*this); }

  std::span<const Method> methods_;
  std::span<const Property> properties_;
  using PropertyIds = std::unordered_map<std::string, const Property*>;
  const typename PropertyIds::value_type* FoundOrNull(typename PropertyIds::iterator at) const {
    return at != propertyIds_.end() ? &*at : nullptr;
  }

  // Entries of an unordered_map stay where they are while it grows, so the
  // last ones used can be kept by address.
  std::unordered_map<std::string, MethodId> methodIds_;
  PropertyIds propertyIds_;
  const typename std::unordered_map<std::string, MethodId>::value_type* lastMethod_ = nullptr;
  const typename PropertyIds::value_type* lastProperty_ = nullptr;
};

// The module's objects, in ordinal order of ObjectName; freed last first.
class TZuScriptX_ObjectsList
    : public TZuScriptX_SortedList<TZuScriptX_Object, &TZuScriptX_Object::ObjectName, true> {
  using Base = TZuScriptX_SortedList<TZuScriptX_Object, &TZuScriptX_Object::ObjectName, true>;

 public:
  TZuScriptX_Object* Add(std::unique_ptr<TZuScriptX_Object> item) {
    Forget();
    return Base::Add(std::move(item));
  }
  void Clear() {
    Forget();
    Base::Clear();
  }
  // The first object whose name equals objectName ignoring case and, when
  // className is not empty, whose class equals className ignoring case.
  TZuScriptX_Object* Find(std::string_view className, std::string_view objectName) const;
  // Find by name alone, the lookup of every call and property access: a
  // name found once is kept by its exact bytes until the list changes.
  TZuScriptX_Object* FindByName(std::string_view objectName);

 private:
  void Forget() {
    byName_.clear();
    lastFound_ = nullptr;
  }

  std::unordered_map<std::string, TZuScriptX_Object*> byName_;
  // The name found last and its object, compared before the map.
  std::string lastName_;
  TZuScriptX_Object* lastFound_ = nullptr;
};

// The module-wide state: one instance lives from the library's load to its
// unload. Calls come from one thread at a time, so it needs no guard.
struct ModuleRegistry {
  ModuleRegistry() = default;
  ~ModuleRegistry();
  ModuleRegistry(const ModuleRegistry&) = delete;
  ModuleRegistry& operator=(const ModuleRegistry&) = delete;

  std::vector<std::string> ClassesList;
  TZuScriptX_ObjectsList ObjectsList;
  TZuScriptX_FunctionsList FunctionsList;
  std::string LastError;
  // A text result kept as plain bytes instead of in the result value (see
  // TextResult); valid until the next call resets it.
  std::string ResultText;
  bool HasResultText = false;
};

// The registry of this module.
ModuleRegistry& Registry();

// Sets LastError and answers false, so failures read `return Fail(...)`.
bool Fail(std::string message);

// Makes text the result of the current call in place of the handler's
// result value, for a method that hands out a new text on every call
// (TFile.ReadString): the registry's buffer is reused, where a result value
// would allocate its text each time. It reaches the caller exactly as a Text
// result value would.
void TextResult(std::string_view text);

}  // namespace zu::io
