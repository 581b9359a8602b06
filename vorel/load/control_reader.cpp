#include "vorel/load/control_reader.h"

#include <memory>

#include "vorel/host/host_api.h"
#include "vorel/load/attribute_reader.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/control_apply.h"

namespace vorel {

namespace {

bool IsTaken(TDeskletObject& d, const std::string& name) {
  uint32_t id = 0;
  return d.FindControl(name) || host::DeskletLayerGetLayer(d.windowHandle, name, id);
}

void ReadControl(TDeskletObject& d, const xml::Node& element, uint8_t groupSide) {
  const AttributeReader read(d, element);
  const std::string name = read.Raw("name");
  const std::string type = read.Raw("type");
  if (!IsControlType(type) || name.empty() || IsTaken(d, name)) return;

  d.controlState.controls.push_back(std::make_unique<TControlObject>());
  TControlObject& c = *d.controlState.controls.back();
  c.Name = name;
  c.CtrlType = type;
  c.OnChange = read.Raw("onchange");
  c.OnEnter = read.Raw("onenter");
  c.OnExit = read.Raw("onexit");
  c.OnKeyEnter = read.Raw("onkeyenter");
  read.Font(c);
  c.FontColor = 0;
  read.Color("fontcolor", c.FontColor);
  c.FontBg = 16777215;
  read.Color("fontbg", c.FontBg);
  c.Alpha = read.Byte("alpha", 255);
  c.X = read.Int16("x", 0);
  c.Y = read.Int16("y", 0);
  c.Width = read.Int16("width", 0);
  c.Height = read.Int16("height", 0);
  c.FontStyle = FontStyleFromText(read.Expanded("fontstyle"), false);
  c.FontAlign = FontAlignFromText(read.Expanded("fontalign"));
  c.CtrlSide = static_cast<uint8_t>(IntInRange(read.Raw("side"), groupSide, 0, 255));
  ++d.nextLayerNumber;
  c.Visible = read.Bool("visible", "1");
  c.ListValues = read.Raw("listvalues");
  c.Value = read.Raw("value");
  c.Owner = &d;
  c.ReadOnly = read.Bool("readonly", "0");
  c.Password = read.Bool("password", "0");
  c.ScrollBarSize = IntDef(read.Raw("scrollbarsize"), 1);
  ApplyControl(d, c);
}

}  // namespace

void ReadControls(TDeskletObject& d, const xml::Node& root) {
  if (!root) return;
  for (const xml::Node& group : root.SelectNodes("controls")) {
    const uint8_t side = static_cast<uint8_t>(IntInRange(GetNodeText(group, "@side", kCrLf, ""), 0, 0, 255));
    for (const xml::Node& element : group.SelectNodes("control")) {
      const std::string name = GetNodeText(element, "@name", kCrLf, "");
      TErrorLog::Scope scope(d.errorLog, name.empty() ? "an unnamed control" : "control \"" + name + "\"");
      try {
        ReadControl(d, element, side);
      } catch (...) {
        // The control is passed over; the others are read.
        d.errorLog.Report(std::current_exception());
      }
    }
  }
}

}  // namespace vorel
