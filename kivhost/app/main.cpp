// kivhost: the desklet host. It loads the plug-in, creates one desklet for
// each skin file given (or one from saved settings), runs a scenario against
// the first (or the loop for a moment when there is none) or shows them on
// the desktop, writes the trace, state and snapshot asked for, and saves and
// closes every desklet at exit. With --list, --add or --remove it asks the
// kivhost showing the desktop's desklets instead.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include <gtk/gtk.h>

#include "kivhost/app/command_line.h"
#include "kivhost/desktop/desklet_manager.h"
#include "kivhost/desktop/desktop_front_end.h"
#include "kivhost/desktop/manager_server.h"
#include "kivhost/loop/manager_client.h"
#include "kivhost/desktop/display.h"
#include "kivhost/headless/scenario_runner.h"
#include "kivhost/headless/snapshot.h"
#include "kivhost/headless/state_dump.h"
#include "kivhost/loop/desklet_list.h"
#include "kivhost/loop/session.h"
#include "kivhost/loop/skin_catalog.h"

namespace {

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : self.parent_path();
}

// Asks the kivhost showing the desklets of `kept` to list, add or close
// one. False when none runs.
bool AskRunning(const std::string& socket, const kivhost::ManagerRequest& request) {
  const std::optional<std::string> answer = kivhost::AskRunningHost(socket, request);
  if (answer) std::cout << *answer << std::flush;
  return answer.has_value();
}

std::string PluginPath(const kivhost::Options& o) {
  return o.plugin.empty() ? (ProgramFolder() / "libvorel.so").string() : o.plugin;
}

// Lists the skins the plug-in offers, without a kivhost that shows
// desklets.
int ListSkinsHere(const kivhost::Options& o) {
  using namespace kivhost;
  Host& host = Host::Get();
  host.BindWindowThread();
  host.errorEcho.SetQuiet(o.quiet);
  PluginLibrary plugin(PluginPath(o));
  for (const SkinInfo& skin : ListOfferedSkins(host, plugin)) std::cout << SkinListLine(skin);
  std::cout << std::flush;
  return 0;
}

int Run(kivhost::Options o) {
  using namespace kivhost;
  // NOTE: the plug-in reads its time limit from the environment; set here,
  // before any thread starts that could read the environment meanwhile.
  if (o.timeLimitMs) setenv("VOREL_TIME_LIMIT_MS", std::to_string(*o.timeLimitMs).c_str(), 1);
  // Without --headless the desklets go on the desktop. Unless their
  // settings are named, the desklets of the desktop are the host's to keep,
  // shown by one kivhost at a time: a second one hands its work over.
  const bool desktop = !o.headless;
  std::optional<SettingsPlace> settings;
  if (!o.settingsFile.empty()) settings = SettingsPlace{o.settingsFile, o.settingsSection};
  std::optional<DeskletList> kept;
  std::string socket;
  if (desktop && !settings) {
    kept.emplace(DeskletList::DefaultFile());
    socket = ManagerSocketPath(kept->File());
    if (o.manage) {
      // NOTE: the running kivhost may run in another folder: a skin file
      // goes there by its full path (a key is one already).
      if (o.manage->kind == ManagerRequest::Kind::Add && std::filesystem::is_regular_file(o.manage->argument))
        o.manage->argument = std::filesystem::absolute(o.manage->argument).lexically_normal().string();
      if (AskRunning(socket, *o.manage)) return 0;
      if (o.manage->kind == ManagerRequest::Kind::Skins) return ListSkinsHere(o);
      if (o.manage->kind != ManagerRequest::Kind::Add) throw std::runtime_error("no kivhost is showing desklets");
      o.skins = {o.manage->argument};
    }
    for (const std::string& skin : o.skins)
      if (!std::filesystem::is_regular_file(skin)) throw std::runtime_error("the skin file " + skin + " does not exist");
    bool running = true;
    for (const std::string& skin : o.skins) {
      const std::string full = std::filesystem::absolute(skin).lexically_normal().string();
      running = AskRunning(socket, ManagerRequest{ManagerRequest::Kind::Add, full});
      if (!running) break;
    }
    if (running && o.skins.empty()) running = AskRunning(socket, ManagerRequest{ManagerRequest::Kind::List, ""});
    if (running) return 0;
  }

  Host& host = Host::Get();
  host.BindWindowThread();
  host.SetHostFolder(ProgramFolder().string());
  host.errorEcho.SetQuiet(o.quiet);
  if (!o.trace.empty()) host.trace.Open(o.trace);

  if (desktop) {
    if (!HasDisplay()) throw std::runtime_error("no display (DISPLAY or WAYLAND_DISPLAY); run with --headless to go without one");
    // NOTE: desklets place their own windows, which ordinary Wayland
    // windows cannot: under Wayland they go on the layer shell where the
    // compositor has it, and through XWayland elsewhere.
    gdk_set_allowed_backends(DesktopBackends().c_str());
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

  PluginLibrary plugin(PluginPath(o));
  Session session(host, plugin);

  // Requests that come while the desklets are still being made (a dialog
  // of the plug-in runs the loop) are turned away.
  std::function<std::string(const ManagerRequest&)> manage;
  std::optional<ManagerServer> server;
  if (kept) {
    server.emplace(socket, [&manage](const ManagerRequest& request) {
      if (!manage) throw ManagerError("kivhost is still starting");
      return manage(request);
    });
    session.OnForget([&kept](const SettingsPlace& place) { kept->Remove(place); });
  }
  // Those of the last session come back first; each desklet's skin is
  // loaded before the next desklet is made, so they load in order.
  std::vector<SettingsPlace> places;
  if (settings && o.skins.empty()) places.push_back(*settings);
  if (kept) places = kept->Places();
  for (const SettingsPlace& place : places) {
    if (!session.CreateFromSettings(place)) throw std::runtime_error("the plug-in did not create a desklet");
    host.PumpPending();
  }
  // A desklet added by the key of a skin the plug-in offers is made from
  // the plug-in's own record of it.
  std::optional<SkinInfo> offered;
  if (o.manage && o.manage->kind == ManagerRequest::Kind::Add)
    offered = FindOfferedSkin(host, plugin, o.manage->argument);
  for (const std::string& skin : o.skins) {
    const std::optional<SettingsPlace> place = kept ? std::optional(kept->AddNew()) : settings;
    HostDesklet* desklet =
        offered ? session.CreateFromOffered(*offered, place) : session.CreateFromSkin(skin, place);
    if (!desklet) throw std::runtime_error("the plug-in did not create a desklet from " + skin);
    // NOTE: the skin is loaded first: until then the desklet has no size
    // of its own, and the one written down would be the default.
    const HWND hwnd = desklet->Hwnd();
    host.PumpPending();
    // A kept desklet is written down at once: it comes back even when
    // this kivhost does not end well.
    if (HostDesklet* loaded = host.Find(hwnd); kept && loaded) session.Save(*loaded);
  }
  if (kept && places.empty() && o.skins.empty())
    throw std::runtime_error("no desklets from the last session in " + kept->File() + "; give a skin file");

  if (desktop) {
    DesktopFrontEnd front(host, session);
    std::optional<DeskletManager> manager;
    if (kept) {
      manager.emplace(host, session, *kept, [&front] { front.SyncAll(); });
      manage = [&manager](const ManagerRequest& request) { return manager->Handle(request); };
    }
    front.Run();
    manage = nullptr;
  } else {
    ScenarioRunner runner(host, session);
    if (commands.empty()) host.RunFor(std::chrono::milliseconds(200));
    else runner.Run(commands);
  }
  server.reset();
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
