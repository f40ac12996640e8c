// One inverter for people: named values in their units, the work mode and
// fault in words, its parameters, today's curve and its fault history.
import {el, setText, power, energy, fixed, age, statusWord, DASH} from './format.js';
import {LineChart} from './chart.js';

const DECIMALS = {V: 1, A: 1, W: 0, Hz: 2, '\u00b0C': 1, '\u03a9': 3, kWh: 2, h: 0};

function table(head, rows) {
  return el('div', {class: 'scroll'}, el('table', {},
    el('thead', {}, el('tr', {}, head.map(([title, align]) => el('th', {class: align}, title)))),
    el('tbody', {}, rows.map(cells => el('tr', {}, cells.map(([text, align]) =>
      el('td', {class: align}, text)))))));
}

function measurements(detail) {
  if (!detail.sample.length) return el('p', {class: 'muted'}, 'No sample yet.');
  const offline = detail.freshness === 'offline';
  return table([['Value', ''], ['', 'num']], detail.sample.map(field => [
    [field.name, ''],
    [offline ? DASH : fixed(field.value, DECIMALS[field.unit] ?? 1, field.unit), 'num']]));
}

function parameters(detail) {
  if (!detail.params.length) return el('p', {class: 'muted'}, 'None read.');
  return table([['Parameter', ''], ['Meaning', ''], ['Value', 'num']], detail.params.map(param => [
    [param.name, ''], [param.meaning, ''], [fixed(param.value, param.decimals, param.unit), 'num']]));
}

function faultTable(faults) {
  if (!faults.length) return el('p', {class: 'muted'}, 'No faults recorded.');
  return table([['Start time', ''], ['Error time', ''], ['Mode', ''], ['Message', ''], ['Value', '']],
    faults.map(f => [[f.start_time, ''], [f.error_time, ''], [f.mode, ''], [f.message, ''], [f.value, '']]));
}

function heading(detail) {
  return [el('span', {class: detail.status}, el('span', {class: 'dot'})), detail.serial, ' ',
    el('span', {class: 'muted'}, detail.model)];
}

export function inverterPage(view, first, query) {
  const serial = query.get('serial') || '';
  const base = '/api/inverters/' + encodeURIComponent(serial);
  const title = el('h1', {}, serial);
  const figures = {};
  const figureBox = el('section', {class: 'figures'},
    ['Power now', 'Today', 'Lifetime', 'Status', 'Work mode', 'Last sample'].map(name => {
      figures[name] = el('b');
      return el('div', {class: 'figure'}, el('span', {}, name), figures[name]);
    }));
  const fault = el('p', {class: 'fault-text', hidden: 'hidden'});
  const chartBox = el('div', {class: 'panel'});
  const valuesBox = el('div', {class: 'panel'});
  const paramsBox = el('div', {class: 'panel'});
  const faultsBox = el('div', {class: 'panel'});
  const about = el('p', {class: 'muted'});
  view.replaceChildren(title, figureBox, fault, el('h2', {}, 'Power today'), chartBox,
    el('h2', {}, 'Measurements'), valuesBox, el('h2', {}, 'Parameters'), paramsBox,
    el('h2', {}, 'Fault history'), faultsBox, about,
    el('p', {}, el('a', {href: '/history?serial=' + encodeURIComponent(serial)}, 'History of this inverter')));
  const chart = new LineChart(chartBox, {unit: 'W'});
  let shown = {sample: null, status: null, code: null};

  const showRow = row => {
    setText(figures['Power now'], power(row.power));
    setText(figures['Today'], energy(row.energy_today));
    setText(figures['Lifetime'], energy(row.energy_total));
    setText(figures['Status'], statusWord(row));
    setText(figures['Last sample'], age(row.age));
    figureBox.className = `figures ${row.freshness}`;
  };
  const loadFaults = async () => {
    const reply = await fetch('/api/faults?serial=' + encodeURIComponent(serial));
    if (reply.ok) faultsBox.replaceChildren(faultTable((await reply.json()).faults));
  };
  const loadDetail = async () => {
    const reply = await fetch(base);
    if (!reply.ok) {
      title.textContent = `No inverter ${serial}`;
      return;
    }
    const detail = await reply.json();
    title.replaceChildren(...heading(detail));
    showRow(detail);
    setText(figures['Work mode'], detail.freshness === 'offline' ? DASH : detail.mode_text || DASH);
    setText(fault, detail.fault_text ? `Fault: ${detail.fault_text}` : '');
    fault.hidden = !detail.fault_text;
    valuesBox.replaceChildren(measurements(detail));
    paramsBox.replaceChildren(parameters(detail));
    setText(about, `Com${detail.port}, address ${detail.address}, firmware ${detail.firmware}, `
      + `${detail.manufacturer}, rated ${power(detail.rated_power)}`);
    if (detail.status !== shown.status || detail.error_code !== shown.code) loadFaults();
    Object.assign(shown, {status: detail.status, code: detail.error_code});
  };
  const onResync = async () => {
    const reply = await fetch(base + '/day');
    if (reply.ok) chart.set((await reply.json()).power);
  };
  const onUpdate = data => {
    const row = data.inverters.find(each => each.serial === serial);
    if (!row) return;
    showRow(row);
    chart.merge(row.minutes);
    if (row.sample_time !== shown.sample || row.status !== shown.status) {
      shown.sample = row.sample_time;
      loadDetail();
    }
  };
  loadDetail();
  onResync();
  return {live: true, onUpdate, onResync};
}
