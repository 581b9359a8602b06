#include "kivhost/app/command_line.h"

#include <charconv>
#include <cmath>
#include <map>

namespace kivhost {

const char* UsageText() {
  return "usage: kivhost [--plugin PATH] [--headless] [--quiet] [--scenario FILE] [--trace FILE]\n"
         "               [--state FILE] [--snapshot FILE.png] [--settings FILE --section NAME]\n"
         "               [--time-limit SECONDS] [SKIN.xml ...]\n"
         "       kivhost --list | --add SKIN.xml|KEY | --remove N | --list-skins\n"
         "Each skin file makes one desklet, in the order given. The scenario and the snapshot\n"
         "act on the first desklet; the state file lists them all. --settings with --section\n"
         "restore or save one desklet, so they take at most one skin file. On the desktop without\n"
         "them, desklets are kept in $XDG_CONFIG_HOME/kivhost/desklets.ini, and kivhost without\n"
         "a skin file brings back those of the last session. --list, --add and --remove ask the\n"
         "kivhost showing them to list its desklets, add one, or close desklet N for good.\n"
         "--list-skins lists the skins the plug-in offers (key, name, author, version, a tab\n"
         "between); --add takes a listed key as well as a skin file.\n"
         "--time-limit stops a script statement that runs longer (processor time, default 5,\n"
         "0 for none) with an error in the desklet's log.\n";
}

namespace {

// Seconds, whole or with a fraction, from 0 to a day.
int32_t ParseTimeLimit(const std::string& text) {
  double seconds = -1;
  const char* end = text.data() + text.size();
  auto [rest, error] = std::from_chars(text.data(), end, seconds);
  if (error != std::errc() || rest != end || !std::isfinite(seconds) || seconds < 0 || seconds > 86400)
    throw UsageError("--time-limit takes seconds from 0 to 86400, not " + text);
  return static_cast<int32_t>(std::lround(seconds * 1000));
}

}  // namespace

Options ParseCommandLine(const std::vector<std::string>& args) {
  Options o;
  const std::map<std::string, std::string*> valued = {
      {"--plugin", &o.plugin},     {"--scenario", &o.scenario}, {"--trace", &o.trace},
      {"--state", &o.state},       {"--snapshot", &o.snapshot}, {"--settings", &o.settingsFile},
      {"--section", &o.settingsSection}};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--list" || a == "--list-skins") {
      if (o.manage) throw UsageError("one of --list, --add, --remove and --list-skins at a time");
      o.manage = ManagerRequest{a == "--list" ? ManagerRequest::Kind::List : ManagerRequest::Kind::Skins, ""};
    } else if (a == "--add" || a == "--remove") {
      if (o.manage) throw UsageError("one of --list, --add, --remove and --list-skins at a time");
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      o.manage = ManagerRequest{a == "--add" ? ManagerRequest::Kind::Add : ManagerRequest::Kind::Remove, args[++i]};
    } else if (a == "--headless") {
      o.headless = true;
    } else if (a == "--quiet") {
      o.quiet = true;
    } else if (a == "--time-limit") {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      o.timeLimitMs = ParseTimeLimit(args[++i]);
    } else if (auto it = valued.find(a); it != valued.end()) {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      *it->second = args[++i];
    } else if (a.starts_with("--")) {
      throw UsageError("unknown option " + a);
    } else {
      o.skins.push_back(a);
    }
  }
  if (o.manage && (o.headless || !o.scenario.empty() || !o.trace.empty() || !o.state.empty() ||
                   !o.snapshot.empty() || !o.settingsFile.empty() || !o.skins.empty()))
    throw UsageError("--list, --add, --remove and --list-skins go alone (with --plugin or --quiet at most)");
  // NOTE: a scenario drives the desklets in place of a user; on the desktop
  // the user does.
  if (!o.scenario.empty() && !o.headless) throw UsageError("--scenario runs headless: add --headless");
  if (o.settingsFile.empty() != o.settingsSection.empty())
    throw UsageError("--settings and --section go together");
  // NOTE: on the desktop, no skin and no settings bring back the desklets
  // of the last session.
  if (o.headless && o.skins.empty() && o.settingsFile.empty())
    throw UsageError("give a skin file or --settings with --section");
  if (o.skins.size() > 1 && !o.settingsFile.empty())
    throw UsageError("--settings and --section go with one desklet, not with " + std::to_string(o.skins.size()) +
                     " skin files");
  return o;
}

}  // namespace kivhost
