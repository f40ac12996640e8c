// The live stream, and a banner while it is down: the values on the page are
// then only the last known.
const SILENT_MS = 5000;
const RETRY_MS = 3000;

export function follow({onUpdate, onResync}) {
  const banner = document.getElementById('banner');
  let lastMessage = Date.now();
  let lostSince = null;
  let source = null;

  const showLost = () => {
    lostSince = lostSince || lastMessage;
    const seconds = Math.round((Date.now() - lostSince) / 1000);
    banner.textContent = `connection lost ${seconds} s ago, retrying`;
    banner.hidden = false;
  };

  const open = () => {
    source = new EventSource('/api/live');
    source.onmessage = event => {
      const wasLost = lostSince !== null;
      lastMessage = Date.now();
      lostSince = null;
      banner.hidden = true;
      if (wasLost) onResync();
      onUpdate(JSON.parse(event.data));
    };
    source.addEventListener('resync', () => onResync());
    // A refused stream (busy, or a restart) is closed for good by the
    // browser: open a new one.
    source.onerror = () => {
      showLost();
      if (source.readyState === EventSource.CLOSED) setTimeout(open, RETRY_MS);
    };
  };

  open();
  setInterval(() => {
    if (lostSince !== null || Date.now() - lastMessage > SILENT_MS) showLost();
  }, 1000);
}
