// FindBuiltin and FindConstant: one table each, gathered once from the
// files' spans and sorted by lower-case name for a binary search.
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/scriptcontrol/vbscript/vb_builtin_support.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

namespace {

template <class T>
class NameIndex {
 public:
  void Add(std::string_view name, const T* item) { rows_.push_back({kiv::ToLowerAscii(name), item}); }

  // A name listed twice is a mistake in the tables themselves.
  void Seal() {
    std::sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) { return a.key < b.key; });
    auto twice =
        std::adjacent_find(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) { return a.key == b.key; });
    if (twice != rows_.end()) throw std::logic_error("VBScript name listed twice: " + twice->key);
  }

  const T* Find(std::string_view name) const {
    std::string key = kiv::ToLowerAscii(name);
    auto it =
        std::lower_bound(rows_.begin(), rows_.end(), key, [](const Row& r, const std::string& k) { return r.key < k; });
    return it != rows_.end() && it->key == key ? it->item : nullptr;
  }

 private:
  struct Row {
    std::string key;
    const T* item;
  };
  std::vector<Row> rows_;
};

NameIndex<Builtin> MakeBuiltinIndex() {
  NameIndex<Builtin> index;
  for (std::span<const Builtin> group : {StringBuiltins(), ConversionBuiltins(), MathBuiltins(), DateBuiltins(),
                                         ArrayBuiltins(), TypeBuiltins(), InteractionBuiltins()})
    for (const Builtin& b : group) index.Add(b.name, &b);
  index.Seal();
  return index;
}

NameIndex<automation::Variant> MakeConstantIndex() {
  NameIndex<automation::Variant> index;
  for (const NamedConstant& c : Constants()) index.Add(c.name, &c.value);
  index.Seal();
  return index;
}

}  // namespace

const Builtin* FindBuiltin(std::string_view name) {
  static const NameIndex<Builtin> index = MakeBuiltinIndex();
  return index.Find(name);
}

const automation::Variant* FindConstant(std::string_view name) {
  static const NameIndex<automation::Variant> index = MakeConstantIndex();
  return index.Find(name);
}

}  // namespace scriptcontrol::vbscript
