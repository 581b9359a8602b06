#include "kivhost/headless/scenario_runner.h"

#include "kivhost/headless/snapshot.h"
#include "kivhost/headless/state_dump.h"

namespace kivhost {

ScenarioRunner::ScenarioRunner(Host& host, Session& session) : host_(host), session_(session) {}

InputRouter* ScenarioRunner::Router() {
  auto desklets = host_.Desklets();
  if (desklets.empty()) return nullptr;
  const HWND hwnd = desklets.front()->Hwnd();
  if (!router_ || routerHwnd_ != hwnd) {
    router_.emplace(host_, hwnd);
    routerHwnd_ = hwnd;
  }
  return &*router_;
}

bool ScenarioRunner::Run(const std::vector<ScenarioCommand>& commands) {
  for (const ScenarioCommand& cmd : commands) {
    try {
      if (!RunOne(cmd)) return false;
    } catch (const ScenarioError&) {
      throw;
    } catch (const std::exception& e) {
      throw ScenarioError(cmd.line, e.what());
    }
    host_.PumpPending();
  }
  return true;
}

bool ScenarioRunner::RunOne(const ScenarioCommand& cmd) {
  const std::string& c = cmd.name;
  const auto& n = cmd.numbers;
  if (c == "wait") {
    host_.RunFor(std::chrono::milliseconds(n[0]));
    return true;
  }
  if (c == "quit") return false;
  if (c == "save") {
    session_.SaveAll();
    return true;
  }
  if (c == "state") {
    WriteState(host_, cmd.words[0]);
    return true;
  }
  if (c == "snapshot") {
    WriteSnapshot(host_, cmd.words[0]);
    return true;
  }
  if (c == "answer") {
    const std::string& kind = cmd.words[0];
    Answer a{Answer::Kind::Cancel, {}, 0};
    if (kind == "menu") a = {Answer::Kind::Menu, {}, n[0]};
    else if (kind == "input") a = {Answer::Kind::Input, cmd.words[1], 0};
    else if (kind == "file") a = {Answer::Kind::File, cmd.words[1], 0};
    else if (kind == "color") a = {Answer::Kind::Color, {}, n[0]};
    else if (kind == "yes") a.kind = Answer::Kind::Yes;
    else if (kind == "no") a.kind = Answer::Kind::No;
    host_.answers.Push(std::move(a));
    return true;
  }
  InputRouter* router = Router();
  if (!router) throw std::runtime_error("no desklet is running");
  if (c == "properties") {
    if (cmd.words.empty() || cmd.words[0].empty()) {
      if (HostDesklet* desklet = host_.Find(router->Hwnd())) session_.ShowProperties(*desklet);
    } else {
      session_.CloseProperties(router->Hwnd());
    }
    return true;
  }
  if (c == "button") {
    if (!session_.PressDialogItem(router->Hwnd(), cmd.words[0]))
      throw std::runtime_error("no button '" + cmd.words[0] + "' on an open properties dialog");
    return true;
  }
  const uint32_t flags = n.size() > 2 ? static_cast<uint32_t>(n[2]) : kFlagLeft;
  if (c == "move") router->Move(n[0], n[1]);
  else if (c == "down") router->Down(n[0], n[1], flags);
  else if (c == "up") router->Up(n[0], n[1], flags);
  else if (c == "click") {
    router->Down(n[0], n[1], flags);
    host_.PumpPending();
    router->Up(n[0], n[1], flags);
  } else if (c == "rclick") {
    if (!router->RightClick(n[0], n[1])) session_.ShowHostMenu(router->Hwnd());
  } else if (c == "wheel") router->Wheel(n[0], n[1], n[2]);
  else if (c == "key") router->Key(cmd.keys);
  else if (c == "press") router->KeyDown(cmd.virtualKey, cmd.shift);
  else if (c == "drop") router->Drop(cmd.words, 0, 0);
  else if (c == "select") router->Select();
  else if (c == "deselect") router->Deselect();
  else if (c == "leave") router->Leave();
  return true;
}

}  // namespace kivhost
