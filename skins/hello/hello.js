// The sample desklet's functions. "kiv" is the desklet; its members are
// also global names, so kiv.Layers and Layers are the same collection.
var count = 42;

function Show(text) {
  kiv.Layers("mono").Text = "x = " + text;
}

// The sun button: counts clicks (or presses of N) in the mono text and the
// label.
function Shine() {
  count++;
  Show(count);
  DeskletLabel = "Hello, Vorel (" + (count - 42) + ")";
}

// Moving over the photo shows where the pointer is on it.
function Track() {
  Show(GetLayerMouseXPos() + "," + GetLayerMouseYPos());
}
