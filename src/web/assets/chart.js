// Charts drawn at the size they are shown, so labels keep their size on a
// phone; redrawn when the window changes size.
import {el, clock, power, energy} from './format.js';

const SVG = 'http://www.w3.org/2000/svg';
const MARGIN = {left: 64, right: 12, top: 10, bottom: 22};
const GAP_SECONDS = 600;

function svg(tag, attributes = {}, text) {
  const node = document.createElementNS(SVG, tag);
  for (const [name, value] of Object.entries(attributes)) node.setAttribute(name, value);
  if (text !== undefined) node.textContent = text;
  return node;
}

// 1, 2, 2.5 or 5 times a power of ten, at least the value.
function niceTop(value) {
  if (!(value > 0)) return 1;
  const power10 = 10 ** Math.floor(Math.log10(value));
  return [1, 2, 2.5, 5, 10].map(step => step * power10).find(top => top >= value);
}

const unitFormat = unit => unit === 'kWh' ? energy : power;

function frame(container, draw) {
  const chart = svg('svg', {class: 'chart', role: 'img'});
  container.replaceChildren(chart);
  const width = Math.max(240, Math.round(chart.getBoundingClientRect().width));
  const height = Math.max(120, Math.round(chart.getBoundingClientRect().height));
  chart.setAttribute('viewBox', `0 0 ${width} ${height}`);
  draw(chart, width, height);
  return chart;
}

function yAxis(chart, width, height, top, unit) {
  const format = unitFormat(unit);
  for (const share of [0, 0.5, 1]) {
    const y = height - MARGIN.bottom - share * (height - MARGIN.top - MARGIN.bottom);
    chart.append(svg('line', {class: share ? 'grid' : 'axis', x1: MARGIN.left, x2: width - MARGIN.right,
      y1: y, y2: y}));
    chart.append(svg('text', {x: MARGIN.left - 6, y: y + 4, 'text-anchor': 'end'},
      format(top * share)));
  }
}

// A day curve: [time, value] points, with [time, mean, low, high] drawn as a
// band between low and high.
export class LineChart {
  constructor(container, {unit = 'W', kind = 'line', empty = 'No samples for this day yet.'} = {}) {
    Object.assign(this, {container, unit, kind, empty, points: [], tail: new Map()});
    this.resize = () => this.draw();
    window.addEventListener('resize', this.resize);
  }

  // A whole curve, fetched; the live minutes of the last few minutes stay
  // on top of it, as they may be newer than the fetched copy.
  set(points) {
    this.points = points.slice();
    this.merge([...this.tail.values()]);
    this.draw();
  }

  // Points of minutes already shown replace theirs; later ones are added.
  merge(points) {
    if (!points || !points.length) return;
    const byTime = new Map(this.points.map(point => [point[0], point]));
    for (const point of points) {
      byTime.set(point[0], point);
      this.tail.set(point[0], point);
    }
    const newest = Math.max(...this.tail.keys());
    for (const time of this.tail.keys()) if (time < newest - 300) this.tail.delete(time);
    this.points = [...byTime.values()].sort((a, b) => a[0] - b[0]);
    this.draw();
  }

  draw() {
    if (!this.points.length) {
      this.container.replaceChildren(el('p', {class: 'muted'}, this.empty));
      return;
    }
    frame(this.container, (chart, width, height) => this.drawInto(chart, width, height));
  }

  drawInto(chart, width, height) {
    const points = this.points;
    const t0 = Math.floor(points[0][0] / 3600) * 3600;
    const t1 = Math.max(t0 + 3600, Math.ceil(points[points.length - 1][0] / 3600) * 3600);
    const top = niceTop(Math.max(...points.map(p => p.length > 3 ? p[3] : p[1])));
    const x = t => MARGIN.left + (t - t0) / (t1 - t0) * (width - MARGIN.left - MARGIN.right);
    const y = v => height - MARGIN.bottom - v / top * (height - MARGIN.top - MARGIN.bottom);
    yAxis(chart, width, height, top, this.unit);
    const hours = (t1 - t0) / 3600;
    const step = [1, 2, 3, 4, 6, 12].find(h => hours / h <= (width - MARGIN.left) / 56) || 24;
    for (let t = t0; t <= t1; t += step * 3600) {
      const anchor = x(t) > width - 30 ? 'end' : 'middle';
      chart.append(svg('text', {x: x(t), y: height - 5, 'text-anchor': anchor}, clock(t)));
    }
    if (points[0].length > 3) chart.append(svg('path', {class: 'range', d: band(points, x, y)}));
    chart.append(svg('path', {class: this.kind, d: line(points, x, y)}));
    if (points.length === 1) {
      chart.append(svg('circle', {class: this.kind, cx: x(points[0][0]), cy: y(points[0][1]), r: 3}));
    }
  }
}

function line(points, x, y) {
  return points.map((p, i) => {
    const jump = i === 0 || p[0] - points[i - 1][0] > GAP_SECONDS;
    return `${jump ? 'M' : 'L'}${x(p[0]).toFixed(1)} ${y(p[1]).toFixed(1)}`;
  }).join('');
}

function band(points, x, y) {
  const high = points.map(p => `${x(p[0]).toFixed(1)} ${y(p[3]).toFixed(1)}`);
  const low = points.map(p => `${x(p[0]).toFixed(1)} ${y(p[2]).toFixed(1)}`).reverse();
  return `M${high.join('L')}L${low.join('L')}Z`;
}

// Energy bars; each opens the period it stands for.
export function barChart(container, bars, label, link) {
  if (!bars.some(bar => bar.energy > 0)) {
    container.replaceChildren(el('p', {class: 'muted'}, 'No samples in this period.'));
    return;
  }
  const draw = () => frame(container, (chart, width, height) => {
    const top = niceTop(Math.max(...bars.map(bar => bar.energy)));
    const step = (width - MARGIN.left - MARGIN.right) / bars.length;
    const every = Math.ceil(bars.length / Math.max(1, (width - MARGIN.left) / 28));
    yAxis(chart, width, height, top, 'kWh');
    bars.forEach((bar, i) => {
      const x = MARGIN.left + i * step;
      const h = bar.energy / top * (height - MARGIN.top - MARGIN.bottom);
      const anchor = svg('a', {href: link(bar.date)});
      const rect = svg('rect', {class: 'bar', x: (x + step * 0.15).toFixed(1),
        y: (height - MARGIN.bottom - h).toFixed(1), width: (step * 0.7).toFixed(1), height: h.toFixed(1)});
      rect.append(svg('title', {}, `${bar.date}: ${energy(bar.energy)}`));
      anchor.append(rect);
      chart.append(anchor);
      if (i % every === 0) {
        chart.append(svg('text', {x: (x + step / 2).toFixed(1), y: height - 5, 'text-anchor': 'middle'},
          label(bar.date)));
      }
    });
  });
  draw();
  window.onresize = draw;
}
