// The error list with its inverter filter and export.
import {el} from './format.js';

export function faultsPage(view, first, query) {
  const serial = query.get('serial') || '';
  const suffix = serial ? '?serial=' + encodeURIComponent(serial) : '';
  const filter = el('select', {id: 'filter'});
  const list = el('div', {class: 'panel scroll'});
  view.replaceChildren(el('h1', {}, 'Error list'),
    el('div', {class: 'actions'}, el('label', {}, 'Inverter ', filter),
      el('a', {href: '/api/faults.csv' + suffix, download: 'ErrorList.csv'}, 'Export')),
    list);
  filter.onchange = () => {
    location.search = filter.value ? '?serial=' + encodeURIComponent(filter.value) : '';
  };
  (async () => {
    const data = await (await fetch('/api/faults' + suffix)).json();
    filter.replaceChildren(el('option', {value: ''}, 'All'), ...data.serials.map(each =>
      el('option', {value: each, selected: each === serial ? 'selected' : null}, each)));
    const head = ['Serno', 'Start time', 'Error time', 'Mode', 'Message', 'Value'];
    list.replaceChildren(el('table', {}, el('thead', {}, el('tr', {}, head.map(h => el('th', {}, h)))),
      el('tbody', {}, data.faults.map(f => el('tr', {}, [f.serial, f.start_time, f.error_time,
        f.mode, f.message, f.value].map(text => el('td', {}, text)))))));
  })();
  return {live: false};
}
