// The history summary like the desktop's history: a day's curves, a month's
// energy by day or a year's by month, of the plant or one inverter, with the
// period before and after and the export of what is shown.
import {el, energy, power, energyCurve} from './format.js';
import {LineChart, barChart} from './chart.js';

const MONTHS = ['Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun', 'Jul', 'Aug', 'Sep', 'Oct', 'Nov', 'Dec'];
const LENGTH = {day: 10, month: 7, year: 4};
const pad = n => String(n).padStart(2, '0');

function today() {
  const d = new Date();
  return `${d.getFullYear()}-${pad(d.getMonth() + 1)}-${pad(d.getDate())}`;
}

// The same kind of period one step before (-1) or after (+1).
function step(kind, date, direction) {
  const [y, m, d] = (date + '-01-01').split('-').map(Number);
  const moved = kind === 'day' ? new Date(y, m - 1, d + direction)
    : kind === 'month' ? new Date(y, m - 1 + direction, 1) : new Date(y + direction, 0, 1);
  const text = `${moved.getFullYear()}-${pad(moved.getMonth() + 1)}-${pad(moved.getDate())}`;
  return text.slice(0, LENGTH[kind]);
}

function dataUrl(kind, date, serial) {
  const s = encodeURIComponent(serial), d = encodeURIComponent(date);
  if (kind === 'day') return (serial ? `/api/inverters/${s}/day` : '/api/plant/day') + '?date=' + d;
  return `/api/history/${kind}?${kind}=${d}` + (serial ? '&serial=' + s : '');
}

function totals(data) {
  const parts = [`Energy: ${energy(data.energy)}`];
  if (data.peak) {
    parts.push(`Peak${data.serial ? '' : ' (5-minute mean)'}: ${power(data.peak.watts)} on `
      + new Date(data.peak.time * 1000).toLocaleString());
  }
  if (data.best_day) parts.push(`Best day: ${data.best_day.date}, ${energy(data.best_day.energy)}`);
  return el('p', {}, parts.join(' \u00b7 '));
}

function form(kind, date, serial, serials) {
  const input = {
    day: el('input', {type: 'date', name: 'date', value: date}),
    month: el('input', {type: 'month', name: 'date', value: date}),
    year: el('input', {type: 'number', name: 'date', min: 1970, max: 9999, value: date}),
  }[kind];
  return el('form', {class: 'pick'},
    el('select', {name: 'period'}, Object.keys(LENGTH).map(k =>
      el('option', {selected: k === kind ? 'selected' : null}, k))),
    el('select', {name: 'serial'}, el('option', {value: ''}, 'Plant'), serials.map(s =>
      el('option', {value: s, selected: s === serial ? 'selected' : null}, s))),
    input, el('button', {}, 'Show'));
}

export function historyPage(view, first, query) {
  const kind = LENGTH[query.get('period')] ? query.get('period') : 'day';
  const serial = query.get('serial') || '';
  const date = ((query.get('date') || today()) + '-01-01').slice(0, LENGTH[kind]);
  const open = (k, d) => `/history?period=${k}&date=${d}` + (serial ? '&serial=' + encodeURIComponent(serial) : '');
  const shown = el('div', {id: 'history'});
  const csv = `/api/history.csv?period=${kind}&date=${encodeURIComponent(date)}`
    + (serial ? '&serial=' + encodeURIComponent(serial) : '');
  const picker = el('div');
  view.replaceChildren(el('h1', {}, 'History'), picker,
    el('div', {class: 'actions'},
      el('a', {href: open(kind, step(kind, date, -1))}, '\u2190 Previous'),
      el('a', {href: open(kind, step(kind, date, 1))}, 'Next \u2192'),
      el('a', {href: csv}, 'Export CSV')),
    shown);
  (async () => {
    const reply = await fetch(dataUrl(kind, date, serial));
    const data = await reply.json();
    const serials = [...new Set([...first.inverters.map(i => i.serial), ...(data.serials || [])])].sort();
    picker.replaceChildren(form(kind, date, serial, serials));
    if (!reply.ok) {
      shown.replaceChildren(el('p', {}, data.error));
    } else if (kind === 'day') {
      const powerBox = el('div', {class: 'panel'}), energyBox = el('div', {class: 'panel'});
      shown.replaceChildren(el('h2', {}, 'Power'), powerBox, el('h2', {}, 'Energy'), energyBox);
      new LineChart(powerBox, {unit: 'W'}).set(data.power);
      new LineChart(energyBox, {unit: 'kWh', kind: 'energy'}).set(energyCurve(data.power));
    } else {
      const chartBox = el('div', {class: 'panel'});
      shown.replaceChildren(totals(data), chartBox);
      if (kind === 'month') barChart(chartBox, data.bars, d => Number(d.slice(8)), d => open('day', d));
      else barChart(chartBox, data.bars, d => MONTHS[Number(d.slice(5)) - 1], d => open('month', d));
    }
  })();
  return {live: false};
}
