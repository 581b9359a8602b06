// The news desklet's functions. Layers is the main object's collection,
// reachable as a global name.

function TwoDigits(n) {
  return (n < 10 ? "0" : "") + n;
}

// The feed's data is in place: say when it came.
function Arrived() {
  var now = new Date();
  Layers("stamp").Text = "read at " + TwoDigits(now.getHours()) + ":" + TwoDigits(now.getMinutes());
}
