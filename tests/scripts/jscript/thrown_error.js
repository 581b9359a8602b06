// Errors thrown and caught inside the script do not reach the runner;
// one thrown out of it does.
try {
  throw new Error("inner");
} catch (e) {
  WScript.Echo("caught", e.message);
}
function fail() { throw new Error("outer"); }
fail();
