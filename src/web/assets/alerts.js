// The alerts on the overview: the conditions that hold now, and the last
// alerts sent with what became of them on each channel.
import {el, DASH, inverterLink} from './format.js';

const REFRESH_MS = 10000;

const pad = n => String(n).padStart(2, '0');

// "14:05" today, "2024-06-15 14:05" before.
function when(epoch) {
  if (epoch === null || epoch === undefined) return DASH;
  const date = new Date(epoch * 1000);
  const time = `${pad(date.getHours())}:${pad(date.getMinutes())}`;
  if (date.toDateString() === new Date().toDateString()) return time;
  return `${date.getFullYear()}-${pad(date.getMonth() + 1)}-${pad(date.getDate())} ${time}`;
}

function subject(alert) {
  const place = alert.address ? `COM${alert.port}, address ${alert.address}` :
    alert.port ? `COM${alert.port}` : null;
  const serial = alert.serial === null ? null : el('a', {href: inverterLink(alert.serial)}, alert.serial);
  if (!serial && !place) return DASH;
  return [serial, serial && place ? el('br') : null, place && el('span', {class: 'muted'}, place)];
}

function deliveryText(delivery) {
  if (delivery.outcome === 'sent') return `${delivery.channel}: sent ${when(delivery.sent)}`;
  const tried = delivery.attempts ? `, ${delivery.attempts} failed` : '';
  const error = delivery.error ? `: ${delivery.error}` : '';
  return `${delivery.channel}: ${delivery.outcome}${tried}${error}`;
}

function deliveries(list) {
  return list.map(delivery => el('div', {class: `delivery ${delivery.outcome.replace(' ', '-')}`},
    deliveryText(delivery)));
}

// Cells as [class, content, heading].
function table(kind, rows) {
  const head = rows[0].map(([cls, , title]) => el('th', {class: cls}, title));
  return el('div', {class: 'scroll'}, el('table', {class: `alerts ${kind}`},
    el('thead', {}, el('tr', {}, head)),
    el('tbody', {}, rows.map(cells => el('tr', {}, cells.map(([cls, content]) =>
      el('td', {class: cls}, content)))))));
}

function openTable(open) {
  if (!open.length) return el('p', {class: 'muted'}, 'No open alerts.');
  return table('open', open.map(alert => [
    ['when', when(alert.epoch), 'Since'], ['rule', alert.rule, 'Rule'],
    ['subject', subject(alert), 'Inverter'], ['text', alert.text, 'Text']]));
}

function sentTable(sent) {
  if (!sent.length) return el('p', {class: 'muted'}, 'No alert sent yet.');
  return table('sent', sent.map(alert => [
    ['when', when(alert.epoch), 'Time'], ['rule', alert.rule, 'Rule'],
    ['state', alert.state, 'State'], ['subject', subject(alert), 'Inverter'],
    ['text', alert.text, 'Text'], ['count num', String(alert.count), 'Count'],
    ['channels', deliveries(alert.deliveries), 'Channels']]));
}

function channelsText(channels) {
  if (!channels.length) return 'No alert channel is set.';
  return 'Channels: ' + channels.map(c =>
    `${c.channel} ${c.sent} sent, ${c.queued} waiting, ${c.failed} failed`).join('; ');
}

// The two sections; they keep themselves up to date.
export function alertSections() {
  const openList = el('div', {class: 'panel', id: 'open-alerts'});
  const sentList = el('div', {class: 'panel', id: 'sent-alerts'});
  const channels = el('p', {class: 'muted'});
  const refresh = async () => {
    const reply = await fetch('/api/alerts').catch(() => null);
    if (!reply || !reply.ok) return;
    const data = await reply.json();
    openList.replaceChildren(openTable(data.open));
    sentList.replaceChildren(sentTable(data.sent), channels);
    channels.textContent = channelsText(data.channels);
  };
  setInterval(refresh, REFRESH_MS);
  refresh();
  return {
    open: el('section', {class: 'open-alerts'}, el('h2', {}, 'Open alerts'), openList),
    sent: el('section', {class: 'sent-alerts'}, el('h2', {}, 'Sent alerts'), sentList),
  };
}
