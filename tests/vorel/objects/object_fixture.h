// A desklet with a loaded skin and its real JScript engine, with the main
// object added as the skin loader adds it, so tests drive the object model
// the way a skin's statements do.
#pragma once

#include <string>

#include "tests/vorel/render/render_fixture.h"

namespace objecttest {

class ObjectFixture : public rendertest::DeskletFixture {
 protected:
  // Three layers on side 0 ("a" with text, "b" with a picture, "c") and one
  // on side 1 ("d").
  void SetUp() override;
  void LoadLayers(const std::string& layersXml, const std::string& deskletXml = "");

  // Forgets the recorded calls and posted messages; the host keeps the
  // desklet and its layers.
  void ForgetCalls();
  void Run(const std::string& statement);
  std::string Eval(const std::string& expression);
  // The description of the error a statement raises, or "" when it runs.
  std::string ErrorOf(const std::string& statement);
  vorel::TLayerObject& L(const std::string& name);
  size_t CountOf(const std::string& fn);
};

}  // namespace objecttest
