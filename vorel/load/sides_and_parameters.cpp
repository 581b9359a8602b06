#include "vorel/load/sides_and_parameters.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "vorel/model/desklet.h"
#include "vorel/host/host_api.h"
#include "vorel/runtime/pixel_limits.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/load/pairing_warnings.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/util/errors.h"

namespace vorel {

void ReadSides(TDeskletObject& d, const xml::Node& sides, bool fresh) {
  const size_t n = CountNodes(sides, "side");
  d.sideState.sides.assign(n, TSideRecord{});
  if (n == 0) return;
  const TNodeTexts ids(sides, "side/@id"), widths(sides, "side/@width"), heights(sides, "side/@height"),
      closeXs(sides, "side/@closex"), closeYs(sides, "side/@closey");
  WarnOfPairingShifts(d, sides, "side", n,
               {{"id", ids.Count()}, {"width", widths.Count()}, {"height", heights.Count()},
                {"closex", closeXs.Count()}, {"closey", closeYs.Count()}});
  for (size_t k = 0; k < n; ++k) {
    // Side numbers are bytes everywhere else; a larger id could never be
    // shown and would only grow the table.
    const int32_t id = IntInRange(ids.At(k, "0"), 0, 0, 255);
    if (d.sideState.sides.size() < static_cast<size_t>(id) + 1) d.sideState.sides.resize(static_cast<size_t>(id) + 1);
    TSideRecord& side = d.sideState.sides[static_cast<size_t>(id)];
    side.Width = CheckedUInt32(IntDef(widths.At(k, "128"), 128));
    side.Height = CheckedUInt32(IntDef(heights.At(k, "128"), 128));
    side.CloseX = CheckedUInt32(IntDef(ExpandVariables(d, closeXs.At(k, "0")), 0));
    side.CloseY = CheckedUInt32(IntDef(ExpandVariables(d, closeYs.At(k, "0")), 0));
    if (std::optional<std::string> problem = WindowSizeProblem(side.Width, side.Height)) {
      // Shrunk to the limit with its shape kept, so that the layers placed
      // on it are still where they belong relative to each other.
      const double scale = std::sqrt(static_cast<double>(kMaxWindowPixels) / (double(side.Width) * side.Height));
      side.Width = std::max<uint32_t>(1, static_cast<uint32_t>(side.Width * scale));
      side.Height = std::max<uint32_t>(1, static_cast<uint32_t>(side.Height * scale));
      d.errorLog.Report(std::make_exception_ptr(KivError(*problem + "; side " + std::to_string(id) + " is made " +
                                                         std::to_string(side.Width) + " by " +
                                                         std::to_string(side.Height))));
    }
  }
  for (size_t i = 1; i < d.sideState.sides.size(); ++i) {
    if (d.sideState.sides[i].Width == 0) d.sideState.sides[i].Width = d.sideState.sides[0].Width;
    if (d.sideState.sides[i].Height == 0) d.sideState.sides[i].Height = d.sideState.sides[0].Height;
  }
  const TSideRecord& first = d.sideState.sides[0];
  if (fresh)
    host::DeskletSetSize(d.windowHandle, {static_cast<int32_t>(first.Width), static_cast<int32_t>(first.Height)});
  KivSize now = host::DeskletGetSize(d.windowHandle);
  host::DeskletSetClosePoint(d.windowHandle, {static_cast<int32_t>(first.CloseX), static_cast<int32_t>(first.CloseY)},
                             now.cx, now.cy);
}

void ReadParameters(TDeskletObject& d, const xml::Node& parameters) {
  std::unordered_map<std::string, TParameter*> byName;
  for (auto& p : d.parameters) byName.emplace(p->Name, p.get());
  for (const std::string element : {"param", "parameter"}) {
    const size_t n = CountNodes(parameters, element);
    if (n == 0) continue;
    const TNodeTexts names(parameters, element + "/@name"), defaults(parameters, element + "/@default"),
        saves(parameters, element + "/@save"), onUpdates(parameters, element + "/@onupdate");
    WarnOfPairingShifts(d, parameters, element, n,
                 {{"name", names.Count()}, {"default", defaults.Count()}, {"save", saves.Count()},
                  {"onupdate", onUpdates.Count()}});
    for (size_t k = 0; k < n; ++k) {
      const std::string name = names.At(k, "");
      TParameter*& p = byName[name];
      if (!p) {
        auto created = std::make_unique<TParameter>();
        created->Name = name;
        created->Value = defaults.At(k, "");
        created->Persist = ReadBool(saves.At(k, "1"));
        p = created.get();
        d.parameters.push_back(std::move(created));
      }
      p->OnUpdate = onUpdates.At(k, "");
    }
  }
}

}  // namespace vorel
