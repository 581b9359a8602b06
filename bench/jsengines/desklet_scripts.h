// The script texts both engines run, so that every figure compares the
// same work. The desklet script is what a small weather-and-clock desklet
// holds: settings objects, a forecast list and a dozen functions. The host
// defines two things before it runs: hostAdd(a, b), a native function, and
// host, an object whose properties are read through a native trap.
#pragma once

#include <string>

namespace jsengines {

inline constexpr const char* kDeskletScript = R"js(
var settings = { city: "Brno", units: "metric", refreshMinutes: 15, showSeconds: true };
var palette = { day: "#ffd070", night: "#203060", text: "#ffffff", shadow: "#000000" };
var forecast = [];
var state = { ticks: 0, lastText: "", clicks: 0, hover: false };
var x = 0, y = "";
function pad2(n) { return n < 10 ? "0" + n : String(n); }
function dayName(d) { return ["Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"][d % 7]; }
function formatTime(h, m, s) {
  var text = pad2(h) + ":" + pad2(m);
  if (settings.showSeconds) text += ":" + pad2(s);
  return text;
}
function toFahrenheit(c) { return Math.round(c * 9 / 5 + 32); }
function temperature(c) {
  return settings.units === "metric" ? c + "\u00b0C" : toFahrenheit(c) + "\u00b0F";
}
function addForecast(day, low, high, sky) {
  forecast.push({ day: day, low: low, high: high, sky: sky });
}
function averageHigh() {
  var sum = 0;
  for (var i = 0; i < forecast.length; i++) sum += forecast[i].high;
  return forecast.length ? sum / forecast.length : 0;
}
function describe(entry) {
  return entry.day + " " + temperature(entry.low) + ".." + temperature(entry.high) + " " + entry.sky;
}
function layout(width, height) {
  var rows = Math.max(1, Math.floor(height / 20));
  return { columns: Math.floor(width / 60), rows: rows, cell: { w: 60, h: 20 } };
}
function onTick(h, m, s) {
  state.ticks++;
  state.lastText = formatTime(h, m, s);
  return state.lastText;
}
function onClick(px, py) {
  state.clicks++;
  var cell = layout(420, 140);
  var index = Math.floor(py / cell.cell.h) * cell.columns + Math.floor(px / cell.cell.w);
  return index < forecast.length ? describe(forecast[index]) : "";
}
function onHover(inside) { state.hover = !!inside; return state.hover ? palette.day : palette.night; }
function f(a, b) { return a * 2 + b; }
for (var d = 0; d < 7; d++) addForecast(dayName(d), 8 + d, 16 + d, d % 2 ? "sun" : "rain");
onTick(12, 5, 9);
)js";

// A tiny script, for start-up: the first compile into a new global.
inline constexpr const char* kStartScript = "var ready = false; function init() { ready = true; } init();";

// What an onclick attribute of a desklet holds.
inline constexpr const char* kClickStatement = "x = x + 1; y = \"a\" + x;";

// Script to host: the loop calls the native hostAdd this many times.
inline constexpr int kNativeCalls = 100000;
inline constexpr const char* kNativeCallLoop =
    "var s = 0; for (var i = 0; i < 100000; i++) { s = hostAdd(s, 1); } s;";

// A property of a host object read through a native trap, as bridged
// automation objects are.
inline constexpr const char* kHostReadLoop = "var s = 0; for (var i = 0; i < 100000; i++) { s += host.Value; } s;";

// Pure script compute loops.
inline constexpr int kSumCount = 1000000;
inline constexpr const char* kSumLoop = "var total = 0; for (var i = 0; i < 1000000; i++) { total += i; } total;";
inline constexpr double kSumResult = 499999500000.0;

// String building by appending two characters at a time, 10,000 and
// 100,000 times: the time per piece tells whether appending is linear.
//
// NOTE: Duktape copies the whole string at each append. With glibc's
// starting thresholds a block over 128 KiB is mapped afresh and given back
// at each free, so in a process that has not yet freed a large block the
// 100,000-piece run is ten to twenty times slower than here, where
// SpiderMonkey's start-up already raised the thresholds.
struct StringBuild {
  int pieces;
  const char* text;
};
inline constexpr StringBuild kStringBuilds[] = {
    {10000, "var t = ''; for (var i = 0; i < 10000; i++) { t = t + 'ab'; } t.length;"},
    {100000, "var t = ''; for (var i = 0; i < 100000; i++) { t = t + 'ab'; } t.length;"},
};

// Object and array work as a desklet does when it refreshes a list: make
// 1,000 records, sort them, format the first ten.
inline constexpr int kRecords = 1000;
inline constexpr const char* kRecordWork = R"js(
(function () {
  var list = [];
  for (var i = 0; i < 1000; i++) list.push({ name: "item" + i, value: (i * 7919) % 1000 });
  list.sort(function (a, b) { return a.value - b.value; });
  var text = "";
  for (var j = 0; j < 10; j++) text += list[j].name + "=" + list[j].value + ";";
  return text.length;
})();
)js";

// What kRecordWork returns, worked out here: the length of the text naming
// the ten records of least value (the values are all different).
inline double RecordWorkResult() {
  std::string text;
  for (int value = 0; value < 10; ++value) {
    for (int i = 0; i < kRecords; ++i) {
      if (i * 7919 % 1000 == value) {
        text += "item" + std::to_string(i) + "=" + std::to_string(value) + ";";
        break;
      }
    }
  }
  return static_cast<double>(text.size());
}

// Runs until the host stops it.
inline constexpr const char* kEndlessLoop = "while (true) {}";
inline constexpr const char* kEndlessLoopWithWork = "var n = 0; while (true) { n = (n + 1) % 1000; }";
// The script cannot catch being stopped: afterwards `caught` is still false.
inline constexpr const char* kEndlessLoopCaught = "var caught = false; try { while (true) {} } catch (e) { caught = true; }";

}  // namespace jsengines
