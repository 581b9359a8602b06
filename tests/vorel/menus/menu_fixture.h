// A desklet whose skin has the given menus section and one layer, "m",
// with the pop-up choices of the test host queued by the test, so tests
// show menus the way a right-click or PopupMenu does.
#pragma once

#include <string>
#include <vector>

#include "tests/vorel/objects/object_fixture.h"
#include "vorel/model/menu_record.h"

namespace menutest {

class MenuFixture : public objecttest::ObjectFixture {
 protected:
  void LoadMenus(const std::string& menusXml, const std::string& parameters = "");
  std::vector<std::unique_ptr<vorel::TMenu>>& Menus() { return D().menus; }
  // The item at a path of positions from the first menu's items.
  vorel::TMenuItem& Item(std::vector<size_t> path, size_t menu = 0);
  std::string LogText();
  std::string Label() { return testhost::TestHost::Get().DeskletOf(kWindow).label; }
  void SetLabel(const std::string& text) { testhost::TestHost::Get().DeskletOf(kWindow).label = text; }
  // The recorded calls of one function, each as its arguments.
  std::vector<std::vector<std::string>> ArgsOf(const std::string& fn);
};

// A statement that appends the letters to the desklet's label, so a test
// reads the order in which statements ran.
std::string Mark(const std::string& letters);

}  // namespace menutest
