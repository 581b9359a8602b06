// A desklet with two sides, a few layers and the controls a test gives,
// loaded by the plug-in against the recording test host and the host's
// real control library; the library's view of each control is read back
// through its description, and scripts run in the desklet's JScript engine.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "tests/vorel/objects/object_fixture.h"
#include "vorel/model/control_record.h"

namespace controltest {

class ControlFixture : public objecttest::ObjectFixture {
 protected:
  // The desklet without the object tests' layers: each test loads its own.
  void SetUp() override { rendertest::DeskletFixture::SetUp(); }
  // Side 0 is 200 x 100, side 1 is 120 x 80; layer "back" on side 0 and
  // "other" on side 1 come before the controls.
  void LoadControls(const std::string& controlsXml, const std::string& extraXml = "");

  // The library's description of the control of that name (null when the
  // library has none).
  nlohmann::json Library(const std::string& name);
  vorel::TControlObject& C(const std::string& name);
  // The host's visibility calls for the control's layer, last one last.
  std::vector<std::string> VisibilityOf(const std::string& name);
};

}  // namespace controltest
