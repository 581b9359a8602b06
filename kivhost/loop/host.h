// Host: the one desklet host of the process. The exported Desklet... and
// Win... functions reach it through Host::Get(). It owns the desklets, the
// window thread's queue, the trace, the dialog answers and the window
// objects, and brings posted messages to the plug-in on the window thread.
//
// The desklet model is touched only on the window thread (the plug-in calls
// the host there); other threads only post, or send and wait.
#pragma once

#include <cairo.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "kivhost/model/desklet.h"
#include "kivhost/model/dialog_answers.h"
#include "kivhost/loop/error_log.h"
#include "kivhost/loop/message_queue.h"
#include "kivhost/loop/plugin_library.h"
#include "kivhost/trace/trace.h"
#include "kivhost/model/window_objects.h"

namespace kivhost {

class Host {
 public:
  static Host& Get();
  ~Host();

  // The folder of the host program: "Default.png" and other bare image
  // names resolve against it.
  void SetHostFolder(std::string folder) { hostFolder_ = std::move(folder); }
  const std::string& HostFolder() const { return hostFolder_; }

  void SetPlugin(PluginLibrary* plugin) { plugin_ = plugin; }
  PluginLibrary* Plugin() const { return plugin_; }

  // Desklets.
  HostDesklet& CreateDesklet();
  HostDesklet* Find(HWND hwnd);
  // The desklet is about to be destroyed: nothing more is delivered to it
  // from the queue, and threads sending to it are released with 0, so the
  // plug-in may wait for its own threads while destroying it.
  void CloseWindow(HWND hwnd);
  // Closes the window if it was not, and forgets the desklet.
  void RemoveDesklet(HWND hwnd);
  std::vector<HostDesklet*> Desklets();
  bool IsWindow(HWND hwnd) const;
  // A new window handle that no desklet has (for the pages of a dialog).
  HWND NewWindowHandle() { return nextHwnd_++; }
  // The open page with this window, of any desklet's properties dialog,
  // and the dialog it is on; null when none is open.
  PageWindow* FindPageWindow(HWND page);
  PropertiesDialog* FindDialogOfPage(HWND page);

  // A front end that shows the properties dialog sets this: it shows the
  // desklet's open dialog and returns when the user has closed it.
  // Without one (headless) the dialog stays open until it is closed.
  using PropertiesShower = std::function<void(HWND desklet)>;
  void SetPropertiesShower(PropertiesShower shower) { propertiesShower_ = std::move(shower); }
  const PropertiesShower& Shower() const { return propertiesShower_; }

  // The desklet's own picture, loaded once per file; null for none or a
  // file that does not load.
  cairo_surface_t* DeskletImage(const HostDesklet& desklet);
  std::string ResolveImageFile(const std::string& file) const;

  // Messages. Posting works from any thread; delivery happens on the
  // window thread, the one that called BindWindowThread.
  void BindWindowThread() { windowThread_ = std::this_thread::get_id(); }
  bool OnWindowThread() const { return std::this_thread::get_id() == windowThread_; }
  // False for a window that does not exist or is closing.
  bool Post(const WinMsg& msg);
  // On the window thread the message is delivered at once. Another thread
  // waits until the window thread delivered it, and gets 0 when it cannot
  // be (the window is closed or closing, the loop stopped).
  LRESULT Send(const WinMsg& msg);
  // Hands a message to the plug-in instance of its window (traced).
  LRESULT Deliver(const WinMsg& msg);
  // Runs the queued items now, and those they post in turn, up to a bound
  // so that a desklet that keeps posting cannot hold the loop forever.
  void PumpPending();
  // Runs the loop until the time has passed.
  void RunFor(std::chrono::milliseconds duration);
  // The loop will not run again: threads waiting for a sent message are
  // released with 0, and later sends from other threads return 0.
  void StopLoop() { queue.Stop(); }

  // Asks the user: through the asker a desktop session sets, otherwise
  // with the next queued answer. An answer of a kind the request does not
  // take counts as a cancel (none).
  using Asker = std::function<std::optional<Answer>(const DialogRequest&)>;
  void SetAsker(Asker asker) { asker_ = std::move(asker); }
  std::optional<Answer> Ask(const DialogRequest& request, std::initializer_list<Answer::Kind> kinds);

  // A front end that must keep its windows alive while the plug-in waits
  // inside a call (a synchronous animation taking its messages one by one)
  // sets this; the plug-in's every look at the queue runs it.
  void SetWhileWaiting(std::function<void()> work) { whileWaiting_ = std::move(work); }
  void RunWhileWaiting();

  // A front end that animates flips sets this. It gets the desklet's
  // picture from before the flip (its own reference) and `finished`, to
  // call once the turn has been shown; it returns false when it shows no
  // turn for the desklet, and the flip then completes at once.
  using FlipAnimator = std::function<bool(HWND, cairo_surface_t* before, std::function<void()> finished)>;
  void SetFlipAnimator(FlipAnimator animator) { flipAnimator_ = std::move(animator); }
  const FlipAnimator& Animator() const { return flipAnimator_; }

  // Whether the shell's execute starts programs and opens documents (a
  // desktop session); headless it is only traced.
  bool startsPrograms = false;

  // Where the pointer is, in screen pixels (the window system's cursor).
  KivPoint cursorPos{0, 0};

  Trace trace;
  MessageQueue queue;
  DialogAnswers answers;
  WindowObjects objects;
  ErrorEcho errorEcho;

 private:
  void RunItem(QueuedItem& item);

  std::string hostFolder_ = ".";
  PluginLibrary* plugin_ = nullptr;
  std::map<HWND, std::unique_ptr<HostDesklet>> desklets_;
  HWND nextHwnd_ = 0x10001;
  mutable std::mutex liveMutex_;
  std::set<HWND> live_;
  std::thread::id windowThread_ = std::this_thread::get_id();
  std::map<std::string, cairo_surface_t*> imageCache_;
  Asker asker_;
  std::function<void()> whileWaiting_;
  bool inWhileWaiting_ = false;
  FlipAnimator flipAnimator_;
  PropertiesShower propertiesShower_;
};

}  // namespace kivhost
