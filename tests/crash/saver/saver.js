// One step: the next counter, its check and a pad whose length changes (up to 40 KB), so
// that saves differ in size; every fifth step fetches the feed again.
function Step() {
  var n = parseInt(kiv.Parameters("Counter").Value, 10) + 1;
  kiv.Parameters("Counter").Value = String(n);
  kiv.Parameters("Check").Value = "c" + (n * 7919 % 100003);
  kiv.Parameters("Pad").Value = new Array(n % 400 * 100 + 1).join("x");
  kiv.Layers("count").Text = String(n);
  if (n % 5 == 0) kiv.ForceXDataFetch();
}
