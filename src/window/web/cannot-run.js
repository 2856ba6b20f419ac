// Says that the page cannot run here, and why, and takes no input. A classic
// script, run after the page's module script in the page's order: if that
// never started (a page opened from disk, whose module scripts the browser
// refuses, or its file missing), this says so; the module script calls the
// same when its WebAssembly module cannot start, and with 'stopped' when it
// failed after its start, which the notice's own text says.
'use strict';

function whyItCannotRun() {
    if (location.protocol === 'file:')
        return '无法在此运行：从磁盘直接打开的网页不能加载程序。请通过网页服务器打开本页（例如在其文件夹中运行 python3 -m http.server）。';
    if (typeof WebAssembly !== 'object')
        return '无法在此运行：此浏览器不支持 WebAssembly。请换用新版的 Firefox、Chrome、Edge 或 Safari。';
    return '无法在此运行：程序文件未能加载。请检查网络连接后刷新本页。';
}

function fortpadCannotRun(reason) {
    const notice = document.getElementById('notice');
    if (reason !== 'stopped')
        notice.textContent = whyItCannotRun();
    notice.hidden = false;
    for (const control of document.querySelectorAll('#fortpad input, #fortpad button'))
        control.disabled = true;
    for (const list of document.querySelectorAll('#fortpad .list'))
        list.contentEditable = 'false';
}

if (!('started' in document.documentElement.dataset))
    fortpadCannotRun();
