// Every key of Vornette.ini as a control of the page, grouped by section,
// each named after its key and explained in one line; the controls read
// out as INI text and set from it.

const FLAG = 'flag', NUMBER = 'number', MODE = 'mode', ENDING = 'ending';
const CAPITALIZATION = (key, words) => ({ key, kind: MODE, help: `Keywords such as ${words}.` });

export const SECTIONS = [
  { name: 'Spacing', keys: [
    { key: 'SpacingOperators', kind: FLAG,
      help: 'Blanks around operators, after commas and before a comment; runs of blanks shrunk to one.' },
    { key: 'TrimTrailingBlanks', kind: FLAG,
      help: 'Removes the blanks and TABs that end a line (a line of blanks becomes empty).' },
    { key: 'AlignAssignments', kind: FLAG,
      help: 'Lines up the "=" of consecutive assignments, one blank after the longest target.' },
  ] },
  { name: 'Indent', keys: [
    { key: 'IndentWidth', kind: NUMBER, help: 'Blanks per nesting level.' },
    { key: 'ExtendedBlocks', kind: FLAG,
      help: 'Also indents GLOBAL routines, SPLINE, SKIP, TIME_BLOCK and CONST_VEL blocks, and a first line behind a byte-order mark.' },
    { key: 'IndentRoutineBodies', kind: FLAG,
      help: 'Indents routine and data-list bodies (DEF, DEFFCT, DEFDAT) one level.' },
    { key: 'KeepColumnOneComments', kind: FLAG,
      help: 'Keeps a line that begins with ";" in column one.' },
    { key: 'IndentFolds', kind: FLAG, help: 'Indents the lines between ;FOLD and ;ENDFOLD one level.' },
  ] },
  { name: 'Capitalization', keys: [
    CAPITALIZATION('CAP_ProgramFlowStrings', 'IF, FOR, WHILE, SWITCH, DEF, END, ;FOLD'),
    CAPITALIZATION('CAP_SetupCommandStrings', 'BASE, TOOL, INTERRUPT, $PRO_ACT'),
    CAPITALIZATION('CAP_MotionCommandStrings', 'PTP, LIN, CIRC, C_DIS, $POS_ACT'),
    CAPITALIZATION('CAP_MathAndFunctionStrings', 'AND, OR, NOT, TRUE, SIN, ABS'),
    CAPITALIZATION('CAP_IOCommandStrings', 'WAIT, DELAY, PULSE, SIGNAL, TRIGGER'),
    CAPITALIZATION('CAP_TypeDefinitionStrings', 'INT, REAL, BOOL, E6POS, FRAME'),
    CAPITALIZATION('CAP_SystemVariableStrings', '$IN, $OUT, $FLAG, $TIMER'),
    CAPITALIZATION('CAP_OpusTechFunctionStrings', 'APPRO, DEPART, LINSPEED, NEWTOOL'),
  ] },
  { name: 'Output', keys: [
    { key: 'LineEnding', kind: ENDING,
      help: 'Line ends of the result: CR LF, LF, or Auto for the file\'s own.' },
  ] },
];

const CHOICES = { [MODE]: ['UpperCase', 'LowerCase', 'None'], [ENDING]: ['CRLF', 'LF', 'Auto'] };

function controlFor({ key, kind }) {
  if (kind === FLAG || kind === NUMBER) {
    const input = document.createElement('input');
    input.type = kind === FLAG ? 'checkbox' : 'number';
    input.name = key;
    return input;
  }
  const select = document.createElement('select');
  select.name = key;
  for (const choice of CHOICES[kind]) select.add(new Option(choice, choice));
  return select;
}

// Builds the controls inside `container`; `changed` runs after each change.
export function buildControls(container, changed) {
  for (const section of SECTIONS) {
    const fieldset = document.createElement('fieldset');
    fieldset.append(Object.assign(document.createElement('legend'), { textContent: `[${section.name}]` }));
    for (const setting of section.keys) {
      const label = document.createElement('label');
      const name = Object.assign(document.createElement('span'), { className: 'key', textContent: setting.key });
      const help = Object.assign(document.createElement('small'), { textContent: setting.help });
      const control = controlFor(setting);
      control.addEventListener(setting.kind === NUMBER ? 'input' : 'change', changed);
      label.append(control, name, help);
      fieldset.append(label);
    }
    container.append(fieldset);
  }
}

// The controls as the text of a Vornette.ini.
export function controlsToIni(container) {
  let ini = '';
  for (const section of SECTIONS) {
    ini += `[${section.name}]\n`;
    for (const { key, kind } of section.keys) {
      const control = container.querySelector(`[name="${key}"]`);
      const value = kind === FLAG ? (control.checked ? '1' : '0')
                  : control.value;
      ini += `${key}=${value}\n`;
    }
  }
  return ini;
}

// Sets the controls from INI text that names every key once, as the
// library writes it.
export function iniToControls(ini, container) {
  for (const line of ini.split(/\r?\n/)) {
    const match = /^([A-Za-z_]+)=(.*)$/.exec(line);
    const control = match && container.querySelector(`[name="${match[1]}"]`);
    if (!control) continue;
    if (control.type === 'checkbox') control.checked = match[2] !== '0';
    else control.value = match[2];
  }
}
