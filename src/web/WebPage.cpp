#include "WebPage.h"

namespace {
const char* const HEAD = R"PAGE(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Heliowatch</title>
<style>
body{font:16px/1.4 "Liberation Sans",Arial,sans-serif;margin:0;background:#f4f5f7;color:#222}
nav{background:#1d3557;padding:.4em .8em;display:flex;flex-wrap:wrap;gap:.2em 1em}
nav a{color:#fff;text-decoration:none;padding:.3em 0}nav a.here{border-bottom:2px solid #ffd166}
main{padding:.8em;max-width:1100px;margin:auto}
.cards{display:grid;grid-template-columns:repeat(auto-fit,minmax(150px,1fr));gap:.6em}
.card{background:#fff;border-radius:6px;padding:.6em .8em;box-shadow:0 1px 2px #0002}
.card b{display:block;font-size:1.5em}
table{border-collapse:collapse;width:100%;background:#fff;margin:.6em 0}
th,td{text-align:left;padding:.3em .5em;border-bottom:1px solid #ddd;white-space:nowrap}
.scroll{overflow-x:auto}
.dot{display:inline-block;width:.8em;height:.8em;border-radius:50%}
.normal{background:#2a9d38}.fault{background:#d62828}.offline,.unknown{background:#999}
svg{width:100%;height:auto;background:#fff;border-radius:6px}
.curve{fill:none;stroke:#1d7ed6;stroke-width:2}.energy{fill:none;stroke:#e76f00;stroke-width:2}.bar{fill:#e76f00}
.axis{stroke:#bbb;stroke-width:1}.label{font-size:11px;fill:#555}
.gauge{max-width:320px}.muted{color:#777}
</style></head><body>
<nav><a href="/">Overview</a><a href="/inverters">Inverters</a><a href="/faults">Error list</a><a href="/history">History</a></nav>
<main id="view"></main>
<script>
const live = )PAGE";

const char* const SCRIPT = R"PAGE(;
const view = document.getElementById('view');
const esc = s => String(s).replace(/[&<>"']/g, c => '&#' + c.charCodeAt(0) + ';');
const fix = (v, n) => Number(v).toFixed(n);
const query = new URLSearchParams(location.search);
let state = live;
let curves = null;
for (const a of document.querySelectorAll('nav a'))
  if (a.getAttribute('href') === location.pathname) a.className = 'here';

function gauge(watts, max) {
  const f = Math.max(0, Math.min(1, watts / max));
  const a = Math.PI * (1 - f), x = 100 + 80 * Math.cos(a), y = 100 - 80 * Math.sin(a);
  return `<svg class="gauge" viewBox="0 0 200 120" role="img" aria-label="plant power">
<path d="M20 100 A80 80 0 0 1 180 100" stroke="#ddd" stroke-width="16" fill="none"/>
<path d="M20 100 A80 80 0 0 1 ${fix(x,1)} ${fix(y,1)}" stroke="#2a9d38" stroke-width="16" fill="none"/>
<text x="100" y="95" text-anchor="middle" font-size="22" id="plant-power">${fix(watts,0)} W</text>
<text x="100" y="115" text-anchor="middle" class="label">of ${fix(max,0)} W</text></svg>`;
}

const W = 600, H = 200, y = (v, top) => fix(H - 20 - v / top * (H - 30), 1);

function axes(top, unit) {
  return `<line class="axis" x1="45" y1="${H-20}" x2="${W-5}" y2="${H-20}"/>
<line class="axis" x1="45" y1="10" x2="45" y2="${H-20}"/>
<text class="label" x="2" y="18">${fix(top, top < 10 ? 2 : 0)}</text><text class="label" x="2" y="${H-22}">0 ${unit}</text>`;
}

function chart(points, cls, unit) {
  if (!points || points.length < 2) return '<p class="muted">No samples for this day yet.</p>';
  const t0 = points[0][0], t1 = points[points.length - 1][0];
  const top = Math.max(1, ...points.map(p => p[1]));
  const path = points.map((p, i) => (i ? 'L' : 'M') + fix((p[0] - t0) / (t1 - t0 || 1) * (W - 50) + 45, 1)
    + ' ' + y(p[1], top)).join(' ');
  const time = t => new Date(t * 1000).toTimeString().slice(0, 5);
  return `<svg viewBox="0 0 ${W} ${H}">${axes(top, unit)}
<text class="label" x="45" y="${H-4}">${time(t0)}</text><text class="label" x="${W-40}" y="${H-4}">${time(t1)}</text>
<path class="${cls}" d="${path}"/></svg>`;
}

// Each bar opens the period it stands for.
function bars(list, label, link) {
  if (!list.some(b => b.energy > 0)) return '<p class="muted">No samples in this period.</p>';
  const top = Math.max(...list.map(b => b.energy)), step = (W - 50) / list.length;
  return `<svg viewBox="0 0 ${W} ${H}">${axes(top, 'kWh')}${list.map((b, i) => {
    const x = 45 + i * step;
    return `<a href="${link(b.date)}"><rect class="bar" x="${fix(x + step * 0.15, 1)}" y="${y(b.energy, top)}"
width="${fix(step * 0.7, 1)}" height="${fix(b.energy / top * (H - 30), 1)}"><title>${b.date}: ${fix(b.energy, 2)} kWh</title></rect></a>
<text class="label" x="${fix(x + step / 2, 1)}" y="${H-4}" text-anchor="middle">${label(b.date)}</text>`;
  }).join('')}</svg>`;
}

function rowCells(r) {
  return `<td><span class="dot ${r.status}" title="${r.status}"></span></td><td>Com${r.port}</td><td>${r.address}</td>
<td class="serial"><a href="/inverter?serial=${encodeURIComponent(r.serial)}">${esc(r.serial)}</a></td><td>${esc(r.model)}</td>
<td>${fix(r.vpv1,1)} V</td><td>${fix(r.vpv2,1)} V</td><td class="power" data-serial="${esc(r.serial)}">${fix(r.power,0)} W</td><td>${fix(r.energy_total,1)} kWh</td>`;
}

function inverterTable(rows) {
  return `<div class="scroll"><table id="inverters"><tr><th></th><th>ComNo.</th><th>Address</th><th>Serno</th><th>Model</th>
<th>Vpv1</th><th>Vpv2</th><th>Out Power</th><th>Energy</th></tr>${rows.map(r => `<tr>${rowCells(r)}</tr>`).join('')}</table></div>`;
}

function brokerText(b) {
  if (b.state === 'disabled') return 'disabled' + (b.reason ? ' - ' + esc(b.reason) : '');
  return `${b.state}${b.reason ? ' - ' + esc(b.reason) : ''}, ${b.queued} queued, ${b.dropped} dropped`;
}

function overview() {
  const p = state.plant;
  const max = Math.max(1000, state.inverters.reduce((sum, r) => sum + r.rated_power, 0));
  const ports = p.ports.map(q => `${q.open ? 'open' : 'closed'} Com${q.port}${q.problem ? ': ' + esc(q.problem) : ''}`).join(', ');
  view.innerHTML = `<div class="cards"><div class="card">${gauge(p.power, max)}</div>
<div class="card">Today<b id="energy-today">${fix(p.energy_today,2)} kWh</b></div>
<div class="card">Lifetime<b id="energy-total">${fix(p.energy_total,1)} kWh</b></div>
<div class="card">Inverters online<b id="online">${p.inverters_online} / ${p.inverters}</b></div></div>
<p class="muted">Ports: ${ports || 'none enabled'}</p>
<p class="muted" id="broker">MQTT broker: ${brokerText(p.broker)}</p>
<h3>Power today</h3>${chart(curves && curves.power, 'curve', 'W')}
<h3>Energy today</h3>${chart(curves && curves.energy, 'energy', 'kWh')}
<h3>Inverters</h3>${inverterTable(state.inverters)}`;
}

function list() {
  view.innerHTML = `<h2>Inverter List</h2>${inverterTable(state.inverters)}`;
}

function table(head, rows) {
  return `<div class="scroll"><table><tr>${head.map(h => `<th>${h}</th>`).join('')}</tr>${rows.map(r =>
    `<tr>${r.map(c => `<td>${esc(c)}</td>`).join('')}</tr>`).join('')}</table></div>`;
}

async function inverter() {
  const serial = query.get('serial') || '';
  const base = '/api/inverters/' + encodeURIComponent(serial);
  const [r, day] = await Promise.all([fetch(base), fetch(base + '/day')]);
  if (!r.ok) { view.innerHTML = `<p>No inverter ${esc(serial)}.</p>`; return; }
  const inv = await r.json(), curve = await day.json();
  const fault = inv.open_fault;
  view.innerHTML = `<h2><span class="dot ${inv.status}"></span> ${esc(inv.serial)} <span class="muted">${esc(inv.model)}</span></h2>
<div class="cards"><div class="card">Power<b class="power" data-serial="${esc(inv.serial)}">${fix(inv.power,0)} W</b></div>
<div class="card">Today<b>${fix(inv.energy_today,2)} kWh</b></div><div class="card">Lifetime<b>${fix(inv.energy_total,1)} kWh</b></div></div>
<h3>Day curve</h3>${chart(curve.power, 'curve', 'W')}
<h3>Open fault</h3>${fault ? table(['Start time','Mode','Message','Value'], [[fault.start_time, fault.mode, fault.message, fault.value]]) : '<p class="muted">None</p>'}
<h3>Last sample</h3>${table(['Value','',''], inv.sample.map(f => [f.name, fix(f.value, 2), f.unit]))}
<h3>Parameters</h3>${table(['Identifier','Value'], inv.params.map(q => ['0x' + q.id.toString(16).toUpperCase(), q.value]))}
<p class="muted">Com${inv.port}, address ${inv.address}, firmware ${esc(inv.firmware)}, ${esc(inv.manufacturer)}, rated ${inv.rated_power} W</p>`;
}

async function faults() {
  const serial = query.get('serial') || '';
  const data = await (await fetch('/api/faults' + (serial ? '?serial=' + encodeURIComponent(serial) : ''))).json();
  const options = ['All', ...data.serials].map((s, i) =>
    `<option value="${i ? esc(s) : ''}"${(i ? s : '') === serial ? ' selected' : ''}>${esc(s)}</option>`).join('');
  view.innerHTML = `<h2>Error list</h2><label>Inverter <select id="filter">${options}</select></label>
<a href="/api/faults.csv${serial ? '?serial=' + encodeURIComponent(serial) : ''}" download="ErrorList.csv">Export</a>
${table(['Serno','Start time','Error time','Mode','Message','Value'], data.faults.map(f =>
  [f.serial, f.start_time, f.error_time, f.mode, f.message, f.value]))}`;
  document.getElementById('filter').onchange = e =>
    location.search = e.target.value ? '?serial=' + encodeURIComponent(e.target.value) : '';
}

const MONTHS = ['Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun', 'Jul', 'Aug', 'Sep', 'Oct', 'Nov', 'Dec'];
const DATE_LENGTH = {day: 10, month: 7, year: 4};
const pad = n => String(n).padStart(2, '0');

function today() {
  const d = new Date();
  return `${d.getFullYear()}-${pad(d.getMonth() + 1)}-${pad(d.getDate())}`;
}

function historyUrl(kind, date, serial) {
  const s = encodeURIComponent(serial), d = encodeURIComponent(date);
  if (kind === 'day') return (serial ? `/api/inverters/${s}/day` : '/api/plant/day') + '?date=' + d;
  return `/api/history/${kind}?${kind}=${d}` + (serial ? '&serial=' + s : '');
}

function periodTotals(data) {
  let text = `Energy: ${fix(data.energy, 2)} kWh`;
  if (data.peak) text += ` &nbsp; Peak${data.serial ? '' : ' (5-minute mean)'}: ${data.peak.watts} W on `
    + new Date(data.peak.time * 1000).toLocaleString();
  if (data.best_day) text += ` &nbsp; Best day: ${data.best_day.date}, ${fix(data.best_day.energy, 2)} kWh`;
  return `<p>${text}</p>`;
}

// Day, month or year of the plant or one inverter, like the desktop history.
async function history() {
  const kind = DATE_LENGTH[query.get('period')] ? query.get('period') : 'day';
  const serial = query.get('serial') || '';
  const date = ((query.get('date') || today()) + '-01-01').slice(0, DATE_LENGTH[kind]);
  const r = await fetch(historyUrl(kind, date, serial));
  const data = await r.json();
  const open = (k, d) => `/history?period=${k}&date=${d}` + (serial ? '&serial=' + encodeURIComponent(serial) : '');
  const serials = [...new Set([...state.inverters.map(i => i.serial), ...(data.serials || [])])].sort();
  const input = {day: `<input type="date" name="date" value="${esc(date)}">`,
    month: `<input type="month" name="date" value="${esc(date)}">`,
    year: `<input type="number" name="date" min="1970" max="9999" value="${esc(date)}">`}[kind];
  const shown = !r.ok ? `<p>${esc(data.error)}</p>`
    : kind === 'day' ? `<h3>Power</h3>${chart(data.power, 'curve', 'W')}<h3>Energy</h3>${chart(data.energy, 'energy', 'kWh')}`
    : kind === 'month' ? periodTotals(data) + bars(data.bars, d => Number(d.slice(8)), d => open('day', d))
    : periodTotals(data) + bars(data.bars, d => MONTHS[Number(d.slice(5)) - 1], d => open('month', d));
  view.innerHTML = `<h2>History</h2><form><select name="period">${Object.keys(DATE_LENGTH).map(k =>
    `<option${k === kind ? ' selected' : ''}>${k}</option>`).join('')}</select>
<select name="serial"><option value="">Plant</option>${serials.map(s =>
    `<option${s === serial ? ' selected' : ''}>${esc(s)}</option>`).join('')}</select> ${input} <button>Show</button></form>
<div id="history">${shown}</div>`;
}

const pages = {'/': overview, '/inverters': list, '/inverter': inverter, '/faults': faults, '/history': history};
const page = pages[location.pathname] || overview;
const livePages = [overview, list, inverter];

async function loadCurves() {
  const r = await fetch('/api/plant/day');
  if (r.ok) { curves = await r.json(); if (page === overview) overview(); }
}
page();
if (page === overview) { loadCurves(); setInterval(loadCurves, 60000); }
if (livePages.includes(page)) {
  new EventSource('/api/live').onmessage = e => { state = JSON.parse(e.data); page(); };
}
</script></body></html>
)PAGE";

// Text from the stations's records must not close the script element.
std::string ScriptSafe(const std::string& json) {
    std::string safe;
    safe.reserve(json.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
        safe += json[i];
        if (json[i] == '<' && i + 1 < json.size() && json[i + 1] == '/') {
            safe += '\\';
        }
    }
    return safe;
}
} // namespace

std::string PageHtml(const std::string& liveJson) {
    return HEAD + ScriptSafe(liveJson) + SCRIPT;
}
