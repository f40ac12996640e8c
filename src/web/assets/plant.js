// The overview and the inverter list: the plant at one look, on a phone too.
import {el, setText, power, energy, fixed, age, statusWord, inverterLink, energyCurve} from './format.js';
import {LineChart} from './chart.js';
import {alertSections} from './alerts.js';

const COLUMNS = [
  ['status', 'Status', ''], ['wide', 'ComNo.', ''], ['wide', 'Address', 'num'], ['serial', 'Serno', ''],
  ['wide', 'Model', ''], ['wide vpv1', 'Vpv1', 'num'], ['wide vpv2', 'Vpv2', 'num'],
  ['power', 'Out Power', 'num'], ['today', 'Today', 'num'], ['wide total', 'Energy', 'num'],
  ['age', 'Last sample', 'num'],
];

// One row per inverter; a live update changes only the cells whose text
// changed, so a selection survives it.
export class InverterTable {
  constructor() {
    this.body = el('tbody');
    this.rows = new Map();
    this.order = null;
    const head = el('tr', {}, COLUMNS.map(([, title, align]) => el('th', {class: align}, title)));
    this.node = el('div', {class: 'scroll'},
      el('table', {class: 'inverters'}, el('thead', {}, head), this.body));
  }

  update(list) {
    const order = list.map(row => row.serial).join('\n');
    if (order !== this.order) {
      this.order = order;
      this.rows = new Map(list.map(row => [row.serial, this.makeRow(row)]));
      this.body.replaceChildren(...this.rows.values());
    }
    for (const row of list) this.fill(this.rows.get(row.serial), row);
  }

  makeRow(row) {
    const cells = COLUMNS.map(([cls, , align]) => el('td', {class: `${cls} ${align}`.trim()}));
    cells[0].append(el('span', {class: 'dot'}), el('span', {class: 'status-word'}));
    cells[3].append(el('a', {href: inverterLink(row.serial)}, row.serial));
    return el('tr', {}, cells);
  }

  fill(tr, row) {
    const wanted = `${row.status} ${row.freshness}`;
    if (tr.className !== wanted) tr.className = wanted;
    const texts = [null, `Com${row.port}`, String(row.address), null, row.model,
      fixed(row.vpv1, 1, 'V'), fixed(row.vpv2, 1, 'V'), power(row.power), energy(row.energy_today),
      energy(row.energy_total), age(row.age)];
    texts.forEach((text, i) => { if (text !== null) setText(tr.cells[i], text); });
    setText(tr.cells[0].lastChild, statusWord(row));
  }
}

function figure(title, id) {
  const value = el('b', {id});
  return [el('div', {class: 'figure'}, el('span', {}, title), value), value];
}

function portsText(plant) {
  const ports = plant.ports.map(port =>
    `Com${port.port} ${port.open ? 'open' : 'closed'}${port.problem ? ': ' + port.problem : ''}`);
  return `Ports: ${ports.join(', ') || 'none enabled'}`;
}

function brokerText(broker) {
  const reason = broker.reason ? ` - ${broker.reason}` : '';
  if (broker.state === 'disabled') return `MQTT broker: disabled${reason}`;
  return `MQTT broker: ${broker.state}${reason}, ${broker.queued} queued, ${broker.dropped} dropped`;
}

function invertersText(plant) {
  const notes = [];
  if (plant.inverters_faulty) notes.push(`${plant.inverters_faulty} in fault`);
  if (plant.inverters_offline) notes.push(`${plant.inverters_offline} offline`);
  if (plant.ports_lost) notes.push(`${plant.ports_lost} port${plant.ports_lost > 1 ? 's' : ''} lost`);
  return `${plant.inverters_reporting} / ${plant.inverters}` + (notes.length ? ` (${notes.join(', ')})` : '');
}

export function overviewPage(view, first) {
  const [powerFigure, powerValue] = figure('Power now', 'plant-power');
  const [todayFigure, todayValue] = figure('Today', 'energy-today');
  const [totalFigure, totalValue] = figure('Lifetime', 'energy-total');
  const [countFigure, countValue] = figure('Inverters reporting', 'online');
  const ports = el('p', {class: 'muted'});
  const broker = el('p', {class: 'muted', id: 'broker'});
  const table = new InverterTable();
  const powerBox = el('div', {class: 'panel'});
  const energyBox = el('div', {class: 'panel'});
  const alerts = alertSections();
  view.className = 'overview';
  view.replaceChildren(
    el('section', {class: 'figures'}, powerFigure, todayFigure, totalFigure, countFigure),
    el('section', {class: 'notes'}, ports, broker),
    alerts.open,
    el('section', {class: 'plant-list'}, el('h2', {}, 'Inverters'), table.node),
    el('section', {class: 'curves'}, el('h2', {}, 'Power today'), powerBox,
      el('h2', {}, 'Energy today'), energyBox),
    alerts.sent);
  const powerChart = new LineChart(powerBox, {unit: 'W'});
  const energyChart = new LineChart(energyBox, {unit: 'kWh', kind: 'energy'});
  let energyToday = first.plant.energy_today;
  // The curve ends at today's energy: what came before the first sample the
  // station kept is counted from the start.
  const showEnergy = () => {
    const curve = energyCurve(powerChart.points);
    const before = curve.length ? Math.max(0, energyToday - curve[curve.length - 1][1]) : 0;
    energyChart.set(curve.map(([time, kwh]) => [time, kwh + before]));
  };

  const onUpdate = data => {
    const plant = data.plant;
    energyToday = plant.energy_today;
    setText(powerValue, power(plant.power));
    setText(todayValue, energy(plant.energy_today));
    setText(totalValue, energy(plant.energy_total));
    setText(countValue, invertersText(plant));
    setText(ports, portsText(plant));
    setText(broker, brokerText(plant.broker));
    table.update(data.inverters);
    if (plant.minutes && plant.minutes.length) {
      powerChart.merge(plant.minutes);
      showEnergy();
    }
  };
  const onResync = async () => {
    const reply = await fetch('/api/plant/day');
    if (!reply.ok) return;
    powerChart.set((await reply.json()).power);
    showEnergy();
  };
  onUpdate(first);
  onResync();
  return {live: true, onUpdate, onResync};
}

export function listPage(view, first) {
  const table = new InverterTable();
  view.replaceChildren(el('h1', {}, 'Inverter List'), el('div', {class: 'panel'}, table.node));
  table.update(first.inverters);
  return {live: true, onUpdate: data => table.update(data.inverters), onResync: () => {}};
}
