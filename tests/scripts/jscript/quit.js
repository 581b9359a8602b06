// Quit stops the script at once with its exit code; a catch block around
// it does not bring the script back to life.
WScript.Echo("before");
function stop() {
  WScript.Quit(1);
  WScript.Echo("after Quit in the function");
}
try {
  stop();
} catch (e) {
  WScript.Echo("caught", e.message);
}
WScript.Echo("after the try");
