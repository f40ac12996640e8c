// Numbers and times as people read them, and elements made from text only:
// nothing the station reports is ever parsed as HTML.

export const DASH = '\u2014';

// An element with attributes and children (strings become text nodes).
export function el(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (value !== undefined && value !== null && value !== false) node.setAttribute(name, value);
  }
  node.append(...children.flat().filter(c => c !== undefined && c !== null));
  return node;
}

// Sets the text only when it changed, so that a selection in it survives.
export function setText(node, text) {
  if (node && node.textContent !== text) node.textContent = text;
}

const scaled = (value, steps) => {
  if (value === null || value === undefined) return DASH;
  const [divisor, unit, decimals] =
    steps.find(([limit]) => Math.abs(value) >= limit).slice(1);
  return `${(value / divisor).toFixed(decimals)} ${unit}`;
};

export const power = watts => scaled(watts,
  [[1e6, 1e6, 'MW', 2], [1e4, 1e3, 'kW', 1], [1e3, 1e3, 'kW', 2], [0, 1, 'W', 0]]);

export const energy = kwh => scaled(kwh,
  [[1e4, 1e3, 'MWh', 1], [1e3, 1e3, 'MWh', 2], [0, 1, 'kWh', 2]]);

export const fixed = (value, decimals, unit) =>
  value === null || value === undefined ? DASH : `${Number(value).toFixed(decimals)} ${unit}`.trim();

export function age(seconds) {
  if (seconds === null || seconds === undefined) return 'no sample yet';
  if (seconds < 90) return `${Math.max(0, Math.round(seconds))} s ago`;
  if (seconds < 5400) return `${Math.round(seconds / 60)} min ago`;
  if (seconds < 172800) return `${Math.round(seconds / 3600)} h ago`;
  return `${Math.round(seconds / 86400)} days ago`;
}

export const clock = time => new Date(time * 1000).toTimeString().slice(0, 5);

const STATUS_WORDS = {normal: 'Normal', fault: 'Fault', offline: 'Offline', unknown: 'Unknown'};

// "Normal", or "Normal, stale" when its readings are old.
export function statusWord(row) {
  const word = STATUS_WORDS[row.status] || row.status;
  return row.status !== 'offline' && row.freshness === 'stale' ? `${word}, stale` : word;
}

export const inverterLink = serial => `/inverter?serial=${encodeURIComponent(serial)}`;

// The kWh fed in up to each minute of a power curve; a gap longer than ten
// minutes counts as none.
export function energyCurve(points) {
  let kwh = 0;
  return points.map((point, i) => {
    if (i > 0) {
      const seconds = point[0] - points[i - 1][0];
      if (seconds <= 600) kwh += (point[1] + points[i - 1][1]) / 2 * seconds / 3.6e6;
    }
    return [point[0], kwh];
  });
}
