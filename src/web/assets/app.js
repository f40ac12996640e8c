// Picks the page the path names and keeps it current from the live stream.
import {follow} from './live.js';
import {overviewPage, listPage} from './plant.js';
import {inverterPage} from './inverter.js';
import {faultsPage} from './faults.js';
import {historyPage} from './history.js';

const PAGES = {'/': overviewPage, '/inverters': listPage, '/inverter': inverterPage,
  '/faults': faultsPage, '/history': historyPage};

for (const link of document.querySelectorAll('nav a')) {
  if (link.getAttribute('href') === location.pathname) link.className = 'here';
}

const first = JSON.parse(document.getElementById('first').textContent);
const view = document.getElementById('view');
const page = (PAGES[location.pathname] || overviewPage)(view, first, new URLSearchParams(location.search));
if (page.live) follow(page);
