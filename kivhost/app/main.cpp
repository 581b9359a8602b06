// kivhost: the desklet host. It loads the plug-in, creates one desklet for
// each skin file given (or one from saved settings), runs a scenario against
// the first (or the loop for a moment when there is none), writes the trace,
// state and snapshot asked for, and saves and closes every desklet at exit.
#include <cstdio>
#include <filesystem>
#include <iostream>

#include <gtk/gtk.h>

#include "kivhost/app/command_line.h"
#include "kivhost/desktop/desktop_front_end.h"
#include "kivhost/desktop/display.h"
#include "kivhost/headless/scenario_runner.h"
#include "kivhost/headless/snapshot.h"
#include "kivhost/headless/state_dump.h"
#include "kivhost/loop/desklet_list.h"
#include "kivhost/loop/session.h"

namespace {

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : self.parent_path();
}

int Run(const kivhost::Options& o) {
  using namespace kivhost;
  Host& host = Host::Get();
  host.BindWindowThread();
  host.SetHostFolder(ProgramFolder().string());
  host.errorEcho.SetQuiet(o.quiet);
  if (!o.trace.empty()) host.trace.Open(o.trace);

  // Without --headless the desklets go on the desktop, which needs a display.
  const bool desktop = !o.headless;
  if (desktop) {
    if (!HasDisplay()) throw std::runtime_error("no display (DISPLAY or WAYLAND_DISPLAY); run with --headless to go without one");
    // NOTE: desklets place their own windows, which Wayland clients cannot;
    // under Wayland they go through XWayland where it is there.
    gdk_set_allowed_backends("x11,*");
    // NOTE: desklets draw with cairo only; without this GDK probes OpenGL,
    // which loads the GL driver (with a software one, 50 MB of it).
    g_setenv("GDK_GL", "disable", FALSE);
    if (!gtk_init_check(nullptr, nullptr)) throw std::runtime_error("the display cannot be opened");
  }

  // Parse the scenario first: a mistake in it stops before anything runs.
  std::vector<ScenarioCommand> commands;
  if (!o.scenario.empty()) commands = LoadScenario(o.scenario);
  // Likewise every skin file is checked before the first desklet exists.
  for (const std::string& skin : o.skins)
    if (!std::filesystem::is_regular_file(skin)) throw std::runtime_error("the skin file " + skin + " does not exist");

  const std::string pluginPath = o.plugin.empty() ? (ProgramFolder() / "libvorel.so").string() : o.plugin;
  PluginLibrary plugin(pluginPath);
  Session session(host, plugin);

  std::optional<SettingsPlace> settings;
  if (!o.settingsFile.empty()) settings = SettingsPlace{o.settingsFile, o.settingsSection};
  // On the desktop without settings of their own, desklets are the host's
  // to keep: they come back at the next start until the user closes them.
  std::optional<DeskletList> kept;
  if (desktop && !settings) {
    kept.emplace(DeskletList::DefaultFile());
    session.OnForget([&kept](const SettingsPlace& place) { kept->Remove(place); });
  }
  if (o.skins.empty()) {
    std::vector<SettingsPlace> places;
    if (settings) places.push_back(*settings);
    else places = kept->Places();
    if (places.empty()) throw std::runtime_error("no desklets from the last session in " + kept->File() + "; give a skin file");
    for (const SettingsPlace& place : places) {
      if (!session.CreateFromSettings(place)) throw std::runtime_error("the plug-in did not create a desklet");
      host.PumpPending();
    }
  }
  // Each desklet's skin is loaded before the next desklet is made, so they
  // load in the order given.
  for (const std::string& skin : o.skins) {
    if (!session.CreateFromSkin(skin, kept ? std::optional(kept->AddNew()) : settings))
      throw std::runtime_error("the plug-in did not create a desklet from " + skin);
    host.PumpPending();
  }

  if (desktop) {
    DesktopFrontEnd front(host, session);
    front.Run();
  } else {
    ScenarioRunner runner(host, session);
    if (commands.empty()) host.RunFor(std::chrono::milliseconds(200));
    else runner.Run(commands);
  }
  host.PumpPending();

  if (!o.state.empty()) WriteState(host, o.state);
  if (!o.snapshot.empty()) {
    WriteSnapshot(host, o.snapshot);
    std::cout << "kivhost: snapshot written to " << o.snapshot << "\n";
  }
  session.SaveAll();
  session.CloseAll();
  host.PumpPending();
  host.StopLoop();
  host.trace.Flush();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const kivhost::Options o = kivhost::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    return Run(o);
  } catch (const kivhost::UsageError& e) {
    std::cerr << "kivhost: " << e.what() << "\n" << kivhost::UsageText();
    return 2;
  } catch (const kivhost::ScenarioError& e) {
    std::cerr << "kivhost: scenario error at " << e.what() << "\n";
    return 3;
  } catch (const std::exception& e) {
    std::cerr << "kivhost: " << e.what() << "\n";
    return 1;
  }
}
