// What the report page and the index page share: making elements and writing
// seconds. Loaded before either page's own script.
'use strict';

function element(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes)) {
    if (key === 'class') node.className = value;
    else if (key === 'text') node.textContent = value;
    else node.setAttribute(key, value);
  }
  for (const child of children) if (child !== null && child !== undefined) node.append(child);
  return node;
}

const seconds = value => `${Number(value).toFixed(3)} s`;
