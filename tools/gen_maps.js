#!/usr/bin/env node
// Generates the library's own map files data/map/map1.dat (world by
// continent), map2.dat (European countries) and map3.dat (US states) from
// the TopoJSON files of the npm packages world-atlas and us-atlas.
//
//   mkdir /tmp/mapgen && cd /tmp/mapgen
//   npm install world-atlas@2 us-atlas@3 topojson-client@3
//   NODE_PATH=/tmp/mapgen/node_modules node tools/gen_maps.js data/map
//
// File format (all values 32-bit little-endian integers):
//   value >= 0    a coordinate; they come in pairs (longitude + 180,
//                 latitude + 90) in thousandths of a degree
//   -1000         ignored (padding)
//   other < 0     ends the current polygon; the value after it is the
//                 region code of the next polygon times 1000 (-9000 ends the
//                 data and is followed by 0)
// The file starts with -1 and the code of the first region and is padded
// with -1000 to a multiple of 20 values.  Regions come in ascending order;
// no polygon has more than 2000 points.
'use strict';
const fs = require('fs');
const path = require('path');
const topojson = require('topojson-client');

const outDir = process.argv[2] || 'data/map';
const world110 = require('world-atlas/countries-110m.json');
const world50 = require('world-atlas/countries-50m.json');
const states10 = require('us-atlas/states-10m.json');

const MAXPTS = 2000;

// Douglas-Peucker on a ring (degrees), keeping the first and last point.
function simplify(ring, tol) {
  if (ring.length <= 4 || tol <= 0) return ring;
  const keep = new Uint8Array(ring.length);
  keep[0] = keep[ring.length - 1] = 1;
  const stack = [[0, ring.length - 1]];
  while (stack.length) {
    const [a, b] = stack.pop();
    let best = -1, dmax = 0;
    const [ax, ay] = ring[a], [bx, by] = ring[b];
    const dx = bx - ax, dy = by - ay, len = Math.hypot(dx, dy);
    for (let i = a + 1; i < b; ++i) {
      const [px, py] = ring[i];
      const d = len > 0 ? Math.abs(dy * (px - ax) - dx * (py - ay)) / len : Math.hypot(px - ax, py - ay);
      if (d > dmax) dmax = d, best = i;
    }
    if (best >= 0 && dmax > tol) {
      keep[best] = 1;
      stack.push([a, best], [best, b]);
    }
  }
  return ring.filter((_, i) => keep[i]);
}

// Drops the closing duplicate of a GeoJSON ring.
function open(ring) {
  const r = ring.slice();
  if (r.length > 1) {
    const a = r[0], b = r[r.length - 1];
    if (a[0] === b[0] && a[1] === b[1]) r.pop();
  }
  return r;
}

function fitRing(ring, tol) {
  let r = open(ring);
  let t = tol;
  while (r.length > MAXPTS) {
    t = t > 0 ? t * 1.5 : 0.01;
    r = open(simplify(ring, t));
  }
  return r;
}

function polygonsOf(geom) {
  if (!geom) return [];
  if (geom.type === 'Polygon') return [geom.coordinates];
  if (geom.type === 'MultiPolygon') return geom.coordinates;
  return [];
}

function area(ring) {
  let s = 0;
  for (let i = 0; i < ring.length; ++i) {
    const [x0, y0] = ring[i], [x1, y1] = ring[(i + 1) % ring.length];
    s += x0 * y1 - x1 * y0;
  }
  return s / 2;
}

function centroid(ring) {
  let x = 0, y = 0;
  for (const p of ring) x += p[0], y += p[1];
  return [x / ring.length, y / ring.length];
}


// Rings of the stitched TopoJSON may cross the antimeridian (Russia, Fiji,
// the Aleutians) or run around the south pole (Antarctica).  The map files
// keep every ring inside -180..180: crossing rings are cut into pieces, a
// ring around the pole is closed along the pole.
function clipHalf(ring, inside, cross) {
  const out = [];
  for (let i = 0; i < ring.length; ++i) {
    const a = ring[(i + ring.length - 1) % ring.length], b = ring[i];
    const ia = inside(a), ib = inside(b);
    if (ib) {
      if (!ia) out.push(cross(a, b));
      out.push(b);
    } else if (ia) {
      out.push(cross(a, b));
    }
  }
  return out;
}

function atLon(x) {
  return (a, b) => [x, a[1] + (b[1] - a[1]) * (x - a[0]) / (b[0] - a[0])];
}

function cutRing(ring) {
  const r = open(ring);
  const u = [r[0].slice()];
  for (let i = 1; i < r.length; ++i) {
    let lon = r[i][0];
    const prev = u[i - 1][0];
    while (lon - prev > 180) lon -= 360;
    while (lon - prev < -180) lon += 360;
    u.push([lon, r[i][1]]);
  }
  const span = u[u.length - 1][0] - u[0][0];
  let closing = r[0][0] - u[u.length - 1][0];
  while (closing > 180) closing -= 360;
  while (closing < -180) closing += 360;
  const turn = span + closing;
  if (Math.abs(turn) > 180) {
    // Around a pole: start where the ring meets the antimeridian.
    let k = 0;
    for (let i = 1; i < r.length; ++i) if (Math.abs(r[i][0] - r[i - 1][0]) > 180) k = i;
    const seq = r.slice(k).concat(r.slice(0, k));
    const pole = seq.reduce((s, p) => s + p[1], 0) < 0 ? -90 : 90;
    const first = seq[0][0] < 0 ? -180 : 180;
    return [[[first, seq[0][1]]].concat(seq, [[-first, seq[seq.length - 1][1]], [-first, pole], [first, pole]])];
  }
  if (u.every((p) => p[0] >= -180 && p[0] <= 180)) return [r];
  const pieces = [];
  for (const shift of [-360, 0, 360]) {
    let q = u.map((p) => [p[0] + shift, p[1]]);
    q = clipHalf(q, (p) => p[0] <= 180, atLon(180));
    q = clipHalf(q, (p) => p[0] >= -180, atLon(-180));
    if (q.length >= 3 && Math.abs(area(q)) > 1e-9) pieces.push(q);
  }
  return pieces;
}

// Writer of the value stream.
class MapWriter {
  constructor() { this.v = []; this.region = null; }
  polygon(region, ring) {
    if (this.region === null) this.v.push(-1, region * 1000);
    else if (region !== this.region) throw new Error('regions out of order');
    this.region = region;
    for (const [lon, lat] of ring) {
      const x = Math.max(0, Math.min(360000, Math.round((lon + 180) * 1000)));
      const y = Math.max(0, Math.min(180000, Math.round((lat + 90) * 1000)));
      this.v.push(x, y);
    }
  }
  end(nextRegion) { this.v.push(-1, nextRegion * 1000); this.region = nextRegion; }
  finish(file) {
    this.v.push(-9000, 0);
    while (this.v.length % 20) this.v.push(-1000);
    const buf = Buffer.alloc(this.v.length * 4);
    this.v.forEach((x, i) => buf.writeInt32LE(x, i * 4));
    fs.writeFileSync(file, buf);
    return buf.length;
  }
}

// Writes polygons grouped by ascending region: entries [region, ring].
function writeRegions(entries, file) {
  entries.sort((a, b) => a[0] - b[0]);
  const w = new MapWriter();
  let first = true;
  for (const [region, ring] of entries) {
    if (ring.length < 3) continue;
    if (!first) w.end(region);
    first = false;
    w.polygon(region, ring);
  }
  return w.finish(file);
}

// ---- world: continents 1..7 and lakes 8 -----------------------------------

function continentOf(lon, lat, id) {
  if (id === '010' || lat < -60) return 1;              // Antarctica
  if (lon < -30) {
    if (lat < 13 && lon > -79.5) return 7;              // South America
    return 6;                                           // North America
  }
  if ((lon > 130 && lat < 0) || (lon > 110 && lat < -20)) return 4;  // Australia, Oceania
  const arabia = lon > 34.5 && lat > 12.5 && (lon > 43 || lat > 20 || lon < 37);
  if (lon > -20 && lon < 52 && lat < 37.5 && !arabia) return 2;     // Africa
  const europe = lat > 35.5 && lon > -30 && lon < 45 && id !== '792' && id !== '196';
  return europe ? 5 : 3;
}

function worldMap(file) {
  const topo = world110;
  const groups = {};
  for (const g of topo.objects.countries.geometries) {
    const f = topojson.feature(topo, g);
    const polys = polygonsOf(f.geometry);
    if (!polys.length) continue;
    let best = polys[0][0];
    for (const p of polys) if (Math.abs(area(p[0])) > Math.abs(area(best))) best = p[0];
    const [lon, lat] = centroid(best);
    const c = continentOf(lon, lat, g.id);
    (groups[c] = groups[c] || []).push(g);
  }
  const entries = [];
  for (const c of Object.keys(groups)) {
    const merged = topojson.merge(topo, groups[c]);
    for (const poly of polygonsOf(merged)) {
      for (let k = 1; k < poly.length; ++k) entries.push([8, fitRing(poly[k], 0)]);
      for (const piece of cutRing(poly[0])) {
      let outer = fitRing(piece, 0);
      if (+c === 1) outer = antarcticaRing(outer);
      // Eurasia and its islands: the mainland stays with Asia, islands
      // west of 45 degrees east go to Europe.
      let region = +c;
      if (region === 3 || region === 5) {
        const [lon, lat] = centroid(outer);
        region = lat > 35.5 && lon > -30 && lon < 45 && outer.length < 1000 ? 5 : 3;
      }
      entries.push([region, outer]);
      }
    }
  }
  return writeRegions(entries, file);
}

// Antarctica's ring closes along the south pole: rotate it so that the two
// points at the pole come last (the outline leaves them out), and make sure
// it has at least 501 points by halving its longest coastal segments.
function antarcticaRing(ring) {
  const pole = ring.map((p, i) => (p[1] < -89.5 ? i : -1)).filter((i) => i >= 0);
  if (pole.length < 2) return ring;
  let r = ring.slice();
  // Find the pair of consecutive pole points and start right after them.
  let k = -1;
  for (let i = 0; i < r.length; ++i)
    if (r[i][1] < -89.5 && r[(i + 1) % r.length][1] < -89.5) k = i;
  if (k < 0) return ring;
  r = r.slice(k + 2).concat(r.slice(0, k + 2));
  const coast = r.slice(0, r.length - 2);
  const tail = r.slice(r.length - 2);
  while (coast.length + 2 < 501) {
    let best = -1, len = 0;
    for (let i = 1; i < coast.length; ++i) {
      const a = coast[i - 1], b = coast[i];
      const d = Math.hypot(a[0] - b[0], a[1] - b[1]);
      if (Math.abs(a[0] - b[0]) < 90 && d > len) len = d, best = i;
    }
    if (best < 0) break;
    const a = coast[best - 1], b = coast[best];
    coast.splice(best, 0, [(a[0] + b[0]) / 2, (a[1] + b[1]) / 2]);
  }
  return coast.concat(tail);
}

function dedupe(ring) {
  const out = [];
  for (const p of ring) {
    const q = out[out.length - 1];
    if (!q || q[0] !== p[0] || q[1] !== p[1]) out.push(p);
  }
  return out;
}

// ---- Europe: 47 countries --------------------------------------------------

// ISO 3166 numeric codes in the order of shdeur's country numbers 0..46.
const EUROPE = [
  ['008', 'Albania'], ['020', 'Andorra'], ['040', 'Austria'], ['056', 'Belgium'],
  ['070', 'Bosnia and Herzegovina'], ['100', 'Bulgaria'], ['112', 'Belarus'], ['191', 'Croatia'],
  ['196', 'Cyprus'], ['203', 'Czechia'], ['208', 'Denmark'], ['233', 'Estonia'],
  ['246', 'Finland'], ['250', 'France'], ['276', 'Germany'], ['300', 'Greece'],
  ['348', 'Hungary'], ['352', 'Iceland'], ['372', 'Ireland'], ['380', 'Italy'],
  ['-99', 'Kosovo'], ['428', 'Latvia'], ['438', 'Liechtenstein'], ['440', 'Lithuania'],
  ['442', 'Luxembourg'], ['470', 'Malta'], ['498', 'Moldova'], ['492', 'Monaco'],
  ['499', 'Montenegro'], ['528', 'Netherlands'], ['807', 'North Macedonia'], ['578', 'Norway'],
  ['616', 'Poland'], ['620', 'Portugal'], ['642', 'Romania'], ['643', 'Russia'],
  ['674', 'San Marino'], ['688', 'Serbia'], ['703', 'Slovakia'], ['705', 'Slovenia'],
  ['724', 'Spain'], ['752', 'Sweden'], ['756', 'Switzerland'], ['792', 'Turkey'],
  ['804', 'Ukraine'], ['826', 'United Kingdom'], ['336', 'Vatican'],
];

// Polygons inside the European frame only (Russia's Asian part, French
// overseas departments and the like are left out).
function inEurope(ring) {
  const [lon, lat] = centroid(ring);
  return lon > -32 && lon < 70 && lat > 33 && lat < 82;
}

function europeMap(file) {
  const topo = world50;
  const entries = [];
  const found = new Set();
  for (const g of topo.objects.countries.geometries) {
    const name = g.properties && g.properties.name;
    let idx = EUROPE.findIndex(([id, n]) => (id !== '-99' && id === g.id) || n === name);
    if (idx < 0 && name === 'Macedonia') idx = 30;
    if (idx < 0 && name === 'Czech Rep.') idx = 9;
    if (idx < 0 && (name === 'Bosnia and Herz.')) idx = 4;
    if (idx < 0) continue;
    found.add(idx);
    for (const poly of polygonsOf(topojson.feature(topo, g).geometry)) for (const piece of cutRing(poly[0])) {
      const ring = fitRing(piece, 0.01);
      if (inEurope(ring)) entries.push([idx, ring]);
    }
  }
  const missing = EUROPE.filter((_, i) => !found.has(i)).map((e) => e[1]);
  if (missing.length) console.error('Europe: not found:', missing.join(', '));
  return writeRegions(entries, file);
}

// ---- US states: 52 areas ---------------------------------------------------

// FIPS codes in the order of shdusa's state numbers 0..51 (alphabetical by
// name; the District of Columbia and Puerto Rico included).
const STATES = [
  '01', '02', '04', '05', '06', '08', '09', '10', '11', '12', '13', '15', '16', '17', '18', '19',
  '20', '21', '22', '23', '24', '25', '26', '27', '28', '29', '30', '31', '32', '33', '34', '35',
  '36', '37', '38', '39', '40', '41', '42', '72', '44', '45', '46', '47', '48', '49', '50', '51',
  '53', '54', '55', '56',
];

function usaMap(file) {
  const topo = states10;
  const entries = [];
  for (const g of topo.objects.states.geometries) {
    const idx = STATES.indexOf(g.id);
    if (idx < 0) continue;
    for (const poly of polygonsOf(topojson.feature(topo, g).geometry)) for (const piece of cutRing(poly[0])) {
      const ring = fitRing(simplify(piece, 0.02), 0.02);
      if (ring.length >= 3) entries.push([idx, ring]);
    }
  }
  return writeRegions(entries, file);
}

fs.mkdirSync(outDir, { recursive: true });
for (const [name, fn] of [['map1.dat', worldMap], ['map2.dat', europeMap], ['map3.dat', usaMap]]) {
  const bytes = fn(path.join(outDir, name));
  console.log(`${name}: ${bytes} bytes`);
}
