// The clock desklet's functions. Layers is the main object's collection,
// reachable as a global name.

// Two digits, with a leading zero below ten.
function TwoDigits(n) {
  return (n < 10 ? "0" : "") + n;
}

// The local time of day into the time layer.
function ShowTime() {
  var now = new Date();
  Layers("time").Text = TwoDigits(now.getHours()) + ":" + TwoDigits(now.getMinutes()) + ":" +
                        TwoDigits(now.getSeconds());
}
