// fortpad's browser window: the page's start. The page shows the form,
// written from the form's description at build time, and takes keys from
// the first moment; the module, once it has started, runs the form's
// handlers, as its table names them, and the reckoning.
import {listen} from './keys.js';
import {followTheScreen, layoutFunctions} from './layout.js';
import {afterEditing} from './list-text.js';
import {startModule} from './module-bridge.js';
import {pageFunctions} from './page-functions.js';

// For the suite and the benchmarks, which write lists as the page does.
export {appendToList, setListText} from './list-text.js';

// cannot-run.js, run after this, says nothing once the page has started.
document.documentElement.dataset.started = '';
listen();
startModule({...pageFunctions, ...layoutFunctions}, () => {
    for (const list of document.querySelectorAll('#fortpad .list')) {
        if (!list.isContentEditable)
            list.contentEditable = 'true'; // a browser without plain-text editing
        list.addEventListener('input', event => afterEditing(list, event.inputType));
    }
    followTheScreen();
    // Without a service worker (a private window, say) the page works the
    // same, only not offline.
    navigator.serviceWorker?.register('sw.js').catch(() => {});
});
