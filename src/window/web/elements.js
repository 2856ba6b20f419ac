// The page's elements that the scripts share, found once.
export const form = document.getElementById('fortpad');
export const input = form.querySelector('input');
export const aboutBox = document.getElementById('about_box');
export const aboutOk = document.getElementById('about_ok');
export const status = document.getElementById('status');
