// Loads the pages cdcoverage writes for generated archives of 1, 20 and 1 000
// disks in headless Chromium, as an operator would open them, and checks that
// what each page shows (gaps, overlaps, daily percentages) equals cdcoverage's
// JSON, that it loads without a console error, that its controls move the view,
// and that a screenshot of it is not blank.
//
// A page of two generated disks, one station covered a minute in 432 s and one
// covered solidly for hours, is read back from the canvas's pixels: each
// column is drawn by the share of its time covered, so sparse data never looks
// complete; the station filter and the calendar's bands are checked there too.
//
// The page of a catalogue shows each station's time by its count of proven
// copies: a disk, its copy proven by a check and a disk never proven, one of
// the first disk's files changed.
//
// usage: node coverage_page_test.mjs CDCOVERAGE MAKE_SUMMARIES WORKDIR MAKE_LARGE_DISK CDARCHIVE
// Exit status 77 (skipped) when no browser or driver is here, unless CI is set:
// there a missing browser is a failure.
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";

const [cdcoverage, makeSummaries, work, makeLargeDisk, cdarchive] = process.argv.slice(2);
const chromiumPath = process.env.CHROMIUM || "/usr/bin/chromium";

function skip(reason) {
  if (process.env.CI) {
    console.error("coverage_page_test: " + reason + " (required in CI)");
    process.exit(1);
  }
  console.log("coverage_page_test: skipped: " + reason);
  process.exit(77);
}

let chromium;
try {
  ({ chromium } = await import("playwright-core"));
} catch {
  skip("playwright-core is not installed (npm ci in tests/browser)");
}
if (!fs.existsSync(chromiumPath)) skip(chromiumPath + " is not installed (Debian package chromium)");

// The archives: disks, files per disk, and a label for the disk where it is
// not its own; COVERAGE_PAGE_MOST_DISKS leaves out the larger ones. The label
// "<!--<script>" (an ISO volume name can be that) would leave the HTML parser
// in a state where the page's data swallows its script.
const mostDisks = Number(process.env.COVERAGE_PAGE_MOST_DISKS || Infinity);
const archives = [[1, 200], [20, 1000], [1000, 1000]].filter(([disks]) => disks <= mostDisks);
archives.push([1, 200, "<!--<script>"]);

function makeArchive(disks, files, label) {
  const dir = path.join(work, disks + "-disks" + (label ? "-labelled" : ""));
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(dir, { recursive: true });
  const inputs = path.join(dir, "summaries");
  execFileSync("python3", [makeSummaries, "--variety", String(disks), String(files), inputs]);
  const names = fs.readdirSync(inputs).sort().map((name) => path.join(inputs, name));
  for (const name of label ? names : []) {
    const summary = JSON.parse(fs.readFileSync(name, "utf8"));
    for (const disk of summary.disks) disk.disk = label;
    fs.writeFileSync(name, JSON.stringify(summary));
  }
  const page = path.join(dir, "page.html"), summary = path.join(dir, "summary.json");
  const daily = path.join(dir, "daily.json");
  execFileSync(cdcoverage, ["--format=json", "--output=" + summary, "--html=" + page, ...names]);
  execFileSync(cdcoverage, ["--daily", "--format=json", "--output=" + daily, ...names]);
  return {
    dir, page,
    summary: JSON.parse(fs.readFileSync(summary, "utf8")),
    daily: JSON.parse(fs.readFileSync(daily, "utf8")),
  };
}

const browser = await chromium.launch({
  executablePath: chromiumPath,
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync"],
});

// Counts the colours of a PNG by drawing it in a blank page.
async function coloursIn(png) {
  const page = await browser.newPage();
  try {
    return await page.evaluate(async (data) => {
      const image = new Image();
      image.src = "data:image/png;base64," + data;
      await image.decode();
      const canvas = document.createElement("canvas");
      canvas.width = image.width; canvas.height = image.height;
      const context = canvas.getContext("2d");
      context.drawImage(image, 0, 0);
      const pixels = context.getImageData(0, 0, image.width, image.height).data;
      const colours = new Set();
      for (let i = 0; i < pixels.length && colours.size < 64; i += 4 * 7) {
        colours.add((pixels[i] << 16) | (pixels[i + 1] << 8) | pixels[i + 2]);
      }
      return colours.size;
    }, png.toString("base64"));
  } finally {
    await page.close();
  }
}

let failures = 0;
for (const [diskCount, files, label] of archives) {
  const name = diskCount + " disks" + (label ? " labelled " + label : "");
  try {
    const archive = makeArchive(diskCount, files, label);
    const page = await browser.newPage({ viewport: { width: 1300, height: 1000 } });
    const problems = [];
    page.on("console", (message) => { if (message.type() === "error") problems.push(message.text()); });
    page.on("pageerror", (error) => problems.push(String(error)));
    page.on("request", (request) => {
      if (!request.url().startsWith("file:")) problems.push("network request: " + request.url());
    });
    const began = Date.now();
    await page.goto("file://" + archive.page, { waitUntil: "load" });
    await page.waitForFunction(() => window.coverageView !== undefined);
    const loadMs = Date.now() - began;
    const bytes = fs.statSync(archive.page).size;

    // What the page shows equals the JSON summary and the daily metrics.
    const shown = await page.evaluate(() => {
      const v = window.coverageView;
      return v.stations().map((s) => ({ station: s, gaps: v.gaps(s), overlaps: v.overlaps(s), daily: v.daily(s) }));
    });
    assert.deepEqual(shown.map((s) => s.station), archive.summary.stations.map((s) => s.station));
    for (const station of archive.summary.stations) {
      const onPage = shown.find((s) => s.station === station.station);
      assert.deepEqual(onPage.gaps, station.gaps, station.station + " gaps");
      assert.deepEqual(onPage.overlaps, station.overlaps.map((o) => [o.start, o.end]), station.station + " overlaps");
      const days = archive.daily.days.filter((d) => d.station === station.station).map(
        ({ day, percent, gaps, longestGapSeconds, overlaps, longestOverlapSeconds }) =>
          ({ day, percent, gaps, longestGapSeconds, overlaps, longestOverlapSeconds }));
      assert.deepEqual(onPage.daily, days, station.station + " daily");
    }
    assert.ok(archive.summary.stations.some((s) => s.gaps.length > 0), "the archive has gaps");
    if (diskCount >= 20) {
      assert.ok(archive.summary.stations.some((s) => s.overlaps.length > 0), "the archive has overlaps");
    }

    // A click on a day of the calendar zooms the timeline to that day (to the
    // whole archive when it is shorter than a day).
    const whole = await page.evaluate(() => window.coverageView.view());
    const station = archive.summary.stations.find((s) => s.station === "VELK");
    const velkDays = archive.daily.days.filter((d) => d.station === "VELK");
    const day = (velkDays.length >= 3 ? velkDays[1] : velkDays[0]).day;
    const cell = await page.evaluate(([s, d]) => window.coverageView.dayCell(s, d), [station.station, day]);
    await page.mouse.click(cell.x, cell.y);
    assert.deepEqual(await page.evaluate(() => window.coverageView.view()),
      velkDays.length >= 3 ? { start: day + "T00:00:00", end: nextDay(day) } : whole);

    // A click on a gap names it and the disks on either side.
    const gap = station.gaps.find((g) => g[0].startsWith(day));
    const middle = new Date((Date.parse(gap[0] + "Z") + Date.parse(gap[1] + "Z")) / 2).toISOString().slice(0, 19);
    const point = await page.evaluate(([t, s]) => window.coverageView.pointAt(t, s), [middle, station.station]);
    await page.mouse.click(point.x, point.y);
    const gapDetails = await page.evaluate(() => window.coverageView.details());
    assert.match(gapDetails, new RegExp("gap " + gap[0] + " \\.\\. " + gap[1]));
    assert.ok(gapDetails.includes("disks on either side: " + (label || "disk")), gapDetails);

    // The wheel zooms in; 0 and the reset button show the whole archive again.
    const before = await page.evaluate(() => window.coverageView.view());
    await page.mouse.move(point.x, point.y);
    await page.mouse.wheel(0, -300);
    const zoomed = await page.evaluate(() => window.coverageView.view());
    assert.ok(Date.parse(zoomed.end) - Date.parse(zoomed.start) < Date.parse(before.end) - Date.parse(before.start), "the wheel zooms in");
    await page.focus("#timeline");
    await page.keyboard.press("0");
    assert.deepEqual(await page.evaluate(() => window.coverageView.view()), whole);
    await page.mouse.wheel(0, -300);
    await page.click("#reset");
    assert.deepEqual(await page.evaluate(() => window.coverageView.view()), whole);

    // How long a redraw takes, from the whole archive down to a minute.
    const redrawMs = await page.evaluate(([start, end]) => {
      const v = window.coverageView, t0 = Date.parse(start + "Z"), t1 = Date.parse(end + "Z");
      const began = performance.now();
      let rounds = 0;
      for (let length = t1 - t0; length > 60000; length /= 2, rounds++) {
        const middle = new Date(t0 + (t1 - t0) / 3 - length / 2).toISOString().slice(0, 19);
        v.zoomTo(middle, new Date(Date.parse(middle + "Z") + length).toISOString().slice(0, 19));
      }
      return (performance.now() - began) / rounds;
    }, [whole.start, whole.end]);
    await page.click("#reset");

    // A click on the disk lane names the disk.
    const firstDisk = archive.summary.disks[0];
    const diskPoint = await page.evaluate(([t]) => window.coverageView.pointAt(t, "disks"), [firstDisk.first]);
    await page.mouse.click(diskPoint.x + 2, diskPoint.y);
    assert.ok((await page.evaluate(() => window.coverageView.details())).includes(
      "disk " + firstDisk.disk + "\nfiles: " + firstDisk.fileCount));

    const screenshot = await page.screenshot({ path: path.join(archive.dir, "page.png"), fullPage: true });
    assert.ok(await coloursIn(screenshot) >= 8, "the screenshot is not blank");
    assert.deepEqual(problems, [], "console errors");
    await page.close();
    console.log(`ok ${name}: ${(bytes / 1e6).toFixed(2)} MB, loaded in ${loadMs} ms, ` +
      `a redraw ${redrawMs.toFixed(1)} ms, ` +
      `${archive.summary.disks.length} disks, ${archive.summary.stations.reduce((n, s) => n + s.gaps.length, 0)} gaps`);
  } catch (error) {
    failures++;
    console.log(`FAILED ${name}: ${error.stack || error}`);
  }
}
try {
  await checkSparseAndDense();
  console.log("ok the page draws sparse data by its share of each pixel");
} catch (error) {
  failures++;
  console.log(`FAILED sparse and dense stations: ${error.stack || error}`);
}
try {
  await checkProvenCopies();
  console.log("ok a catalogue's page colours each station's time by its proven copies");
} catch (error) {
  failures++;
  console.log(`FAILED proven copies: ${error.stack || error}`);
}
await browser.close();
console.log(`${archives.length + 2 - failures} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);

async function checkSparseAndDense() {
  const dir = path.join(work, "sparse-and-dense");
  fs.rmSync(dir, { recursive: true, force: true });
  // 20 days of 200 one-minute files a day: SPRS one every 432 s, the whole day
  // at 13.9 %; DENS back to back, 200 minutes of each day solid.
  const sparse = path.join(dir, "sparse"), dense = path.join(dir, "dense");
  execFileSync(makeLargeDisk, [sparse, "4000", "--station=SPRS", "--step=432"]);
  execFileSync(makeLargeDisk, [dense, "4000", "--station=DENS"]);
  const pagePath = path.join(dir, "page.html");
  execFileSync(cdcoverage, ["--html=" + pagePath, "--output=" + path.join(dir, "summary.txt"), sparse, dense]);
  const page = await browser.newPage({ viewport: { width: 1300, height: 1000 }, deviceScaleFactor: 1 });
  try {
    await page.goto("file://" + pagePath, { waitUntil: "load" });
    await page.waitForFunction(() => window.coverageView !== undefined);
    // The shade of each pixel column of a station's covered band, as the
    // canvas (transparent where nothing is drawn) holds it: 0 nothing, 1 solid.
    const shades = (name) => page.evaluate((station) => {
      const band = window.coverageView.coveredBand(station);
      const canvas = document.getElementById("timeline");
      const ratio = canvas.width / canvas.clientWidth;
      const row = canvas.getContext("2d").getImageData(Math.ceil(band.left * ratio),
        Math.round((band.top + band.bottom) / 2 * ratio), Math.floor((band.right - band.left) * ratio), 1).data;
      const shade = [];
      for (let i = 0; i < row.length; i += 4) shade.push(row[i + 3] / 255);
      return shade;
    }, name);
    const sparseShades = (await shades("SPRS")).filter((s) => s > 0.02);
    const mean = sparseShades.reduce((a, b) => a + b, 0) / sparseShades.length;
    assert.ok(sparseShades.length > 900, "SPRS is drawn over its 20 days: " + sparseShades.length);
    assert.ok(Math.abs(mean - 60 / 432) < 0.03, "SPRS's columns average its share: " + mean);
    assert.ok(Math.max(...sparseShades) < 0.35, "no column of SPRS is drawn solid: " + Math.max(...sparseShades));
    const denseShades = await shades("DENS");
    assert.ok(denseShades.filter((s) => s > 0.97).length >= 20 * 5, "DENS's hours are solid");

    // The station filter shows one station's row and calendar, then all again.
    const heightOfAll = await page.evaluate(() => document.getElementById("timeline").clientHeight);
    await page.selectOption("#station-filter", "SPRS");
    assert.deepEqual(await page.evaluate(() => window.coverageView.shownStations()), ["SPRS"]);
    assert.ok(await page.evaluate(() => document.getElementById("timeline").clientHeight) < heightOfAll);
    assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll("#calendars > div")]
      .map((block) => block.hidden)), [true, false]);  // DENS, SPRS in the summary's order
    assert.equal(await page.evaluate(() => window.coverageView.coveredBand("DENS")), null);
    await page.selectOption("#station-filter", "");
    assert.deepEqual(await page.evaluate(() => window.coverageView.shownStations()), ["DENS", "SPRS"]);

    // The calendar's legend names its bands, and a day's cell has its band's colour.
    assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll("#calendar-legend span")]
      .map((s) => s.textContent)), ["0 %", "under 50 %", "50 to 90 %", "90 to 99 %", "99 % to under 100 %", "100 %"]);
    const cellColour = await page.evaluate(() => {
      const cell = window.coverageView.dayCell("SPRS", "2006-06-16");
      const calendar = document.elementFromPoint(cell.x, cell.y);
      const box = calendar.getBoundingClientRect();
      const ratio = calendar.width / calendar.clientWidth;
      const [r, g, b] = calendar.getContext("2d").getImageData(
        Math.round((cell.x - box.left) * ratio), Math.round((cell.y - box.top) * ratio), 1, 1).data;
      return "#" + [r, g, b].map((v) => v.toString(16).padStart(2, "0")).join("");
    });
    assert.equal(cellColour, "#ef6548", "a day at 13.9 % is under 50 %");
  } finally {
    await page.close();
  }
}

function nextDay(day) {
  return new Date(Date.parse(day + "T00:00:00Z") + 86400000).toISOString().slice(0, 19);
}

// A catalogue of a disk (a), its copy (b) proven by a check, and a disk
// never proven (x); then a file of a changed and a checked again. Its page
// shows each station's time by its count of proven copies, and a click on
// the lane names the disks.
async function checkProvenCopies() {
  const dir = path.join(work, "proven");
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(dir, { recursive: true });
  const [a, b, x] = ["a", "b", "x"].map((name) => path.join(dir, name));
  execFileSync(makeLargeDisk, [a, "6", "--station=COPY"]);
  fs.cpSync(a, b, { recursive: true });
  execFileSync(makeLargeDisk, [x, "3", "--station=ONCE"]);
  const archive = (...args) => spawnSync(cdarchive, ["--catalog=" + path.join(dir, "archive.db"), ...args]).status;
  assert.equal(archive("add", "--as=a", a), 0);
  assert.equal(archive("add", "--as=b", "--no-fixity", b), 0);
  assert.equal(archive("add", "--as=x", "--no-fixity", x), 0);
  assert.equal(archive("check", "--as=b", b), 0);
  const changed = path.join(a, "20060615", "P0000002.DAT");
  const bytes = fs.readFileSync(changed);
  bytes[bytes.length >> 1] ^= 1;
  fs.writeFileSync(changed, bytes);
  assert.equal(archive("check", "--as=a", a), 1);
  const pagePath = path.join(dir, "page.html");
  execFileSync(cdcoverage, ["--catalog=" + path.join(dir, "archive.db"), "--html=" + pagePath,
    "--output=" + path.join(dir, "summary.txt")]);
  const page = await browser.newPage({ viewport: { width: 1200, height: 800 } });
  try {
    await page.goto("file://" + pagePath);
    const copies = await page.evaluate(() => window.coverageView.provenCopies("COPY"));
    assert.deepEqual(copies.map((piece) => piece[2]), [["a", "b"], ["b"], ["a", "b"]]);
    assert.deepEqual(await page.evaluate(() => window.coverageView.provenCopies("ONCE")).then(
      (pieces) => pieces.map((piece) => piece[2])), [[]]);
    const [start, end] = copies[1];
    const middle = new Date((Date.parse(start + "Z") + Date.parse(end + "Z")) / 2).toISOString().slice(0, 19);
    await page.evaluate(([s, e]) => window.coverageView.zoomTo(s, e), [start, end]);
    const point = await page.evaluate(([t]) => window.coverageView.pointAt(t, "COPY", "proven"), [middle]);
    await page.mouse.click(point.x, point.y);
    const details = await page.evaluate(() => window.coverageView.details());
    assert.ok(details.startsWith("COPY one proven copy " + start + " .. " + end + "  "), details);
    assert.ok(details.endsWith("\nproven disks: b"), details);
  } finally {
    await page.close();
  }
}
