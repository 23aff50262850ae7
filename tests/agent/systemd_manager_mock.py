'''A stand-in for the systemd manager on a private bus, for the agent tests.

Units are added and changed through the mock interface; jobs change the unit's
state a moment after the call returns and end with JobRemoved, with the result
set for the unit ("done" unless SetJobResult said otherwise).
'''

import dbus
from gi.repository import GLib

from dbusmock import MOCK_IFACE, mockobject

BUS_NAME = 'org.freedesktop.systemd1'
MAIN_OBJ = '/org/freedesktop/systemd1'
MAIN_IFACE = 'org.freedesktop.systemd1.Manager'
UNIT_IFACE = 'org.freedesktop.systemd1.Unit'
SERVICE_IFACE = 'org.freedesktop.systemd1.Service'
SYSTEM_BUS = True

NO_JOB = dbus.Struct((dbus.UInt32(0), dbus.ObjectPath('/')), signature='uo')


def load(mock, _parameters):
    mock.units = {}
    mock.job_results = {}
    mock.job_calls = []
    mock.next_job = 1
    mock.AddMethods(MAIN_IFACE, [('Subscribe', '', '', ''), ('Unsubscribe', '', '', '')])


def unit_object(mock, name):
    if str(name) not in mock.units:
        raise dbus.exceptions.DBusException('Unit %s not loaded.' % name,
                                            name='org.freedesktop.systemd1.NoSuchUnit')
    return mockobject.objects[mock.units[str(name)]]


def set_state(unit, active, sub, job=NO_JOB, result=None):
    changed = {'ActiveState': dbus.String(active), 'SubState': dbus.String(sub), 'Job': job}
    for key, value in changed.items():
        unit.props[UNIT_IFACE][key] = value
    if result is not None:
        unit.props[SERVICE_IFACE]['Result'] = dbus.String(result)
    unit.EmitSignal('org.freedesktop.DBus.Properties', 'PropertiesChanged', 'sa{sv}as',
                    [UNIT_IFACE, changed, []])


@dbus.service.method(MAIN_IFACE, in_signature='s', out_signature='o')
def LoadUnit(self, name):
    unit_object(self, name)
    return self.units[str(name)]


@dbus.service.method(MAIN_IFACE, in_signature='s', out_signature='o')
def GetUnit(self, name):
    return LoadUnit(self, name)


@dbus.service.method(MAIN_IFACE, in_signature='', out_signature='a(ssssssouso)')
def ListUnits(self):
    units = []
    for name, path in self.units.items():
        props = mockobject.objects[path].props[UNIT_IFACE]
        units.append((name, props['Description'], 'loaded', props['ActiveState'], props['SubState'],
                      '', dbus.ObjectPath(path), dbus.UInt32(0), '', dbus.ObjectPath('/')))
    return units


@dbus.service.method(MAIN_IFACE, in_signature='', out_signature='a(ss)')
def ListUnitFiles(self):
    return [('/lib/systemd/system/' + name, 'enabled') for name in self.units]


def run_job(mock, verb, name):
    unit = unit_object(mock, name)
    job_id = mock.next_job
    mock.next_job += 1
    job_path = dbus.ObjectPath('%s/job/%d' % (MAIN_OBJ, job_id))
    job = dbus.Struct((dbus.UInt32(job_id), job_path), signature='uo')
    result = mock.job_results.get(str(name), 'done')
    mock.job_calls.append('%s %s' % (verb, name))

    def finish():
        if verb == 'stop':
            set_state(unit, 'deactivating', 'stop-sigterm', job)
            set_state(unit, 'inactive', 'dead', result='success')
        elif result == 'done':
            if unit.props[UNIT_IFACE]['ActiveState'] == 'active':
                set_state(unit, 'deactivating', 'stop-sigterm', job)
            set_state(unit, 'activating', 'start', job)
            set_state(unit, 'active', 'running', result='success')
        else:
            set_state(unit, 'activating', 'start', job)
            set_state(unit, 'failed', 'failed', result='exit-code')
        mock.EmitSignal(MAIN_IFACE, 'JobRemoved', 'uoss', [job_id, job_path, name, result])
        return False

    GLib.timeout_add(50, finish)
    return job_path


@dbus.service.method(MAIN_IFACE, in_signature='ss', out_signature='o')
def StartUnit(self, name, _mode):
    return run_job(self, 'start', name)


@dbus.service.method(MAIN_IFACE, in_signature='ss', out_signature='o')
def RestartUnit(self, name, _mode):
    return run_job(self, 'restart', name)


@dbus.service.method(MAIN_IFACE, in_signature='ss', out_signature='o')
def StopUnit(self, name, _mode):
    return run_job(self, 'stop', name)


@dbus.service.method(MOCK_IFACE, in_signature='sss')
def AddMockUnit(self, name, description, program):
    path = '%s/unit/%s' % (MAIN_OBJ, name.replace('.', '_2e').replace('-', '_2d'))
    self.units[str(name)] = path
    self.AddObject(path, UNIT_IFACE,
                   {'Id': dbus.String(name), 'Description': dbus.String(description),
                    'LoadState': 'loaded', 'ActiveState': 'active', 'SubState': 'running',
                    'Job': NO_JOB}, [])
    unit = mockobject.objects[path]
    unit.AddProperties(SERVICE_IFACE, {
        'Result': dbus.String('success'),
        'ExecMainStatus': dbus.Int32(0),
        'ExecStart': dbus.Array([(program, [program], False, dbus.UInt64(0), dbus.UInt64(0),
                                  dbus.UInt64(0), dbus.UInt64(0), dbus.UInt32(0), dbus.Int32(0),
                                  dbus.Int32(0))], signature='(sasbttttuii)')})


@dbus.service.method(MOCK_IFACE, in_signature='ssss')
def SetMockUnitState(self, name, active, sub, result):
    set_state(unit_object(self, name), active, sub, result=result)


@dbus.service.method(MOCK_IFACE, in_signature='ss')
def SetJobResult(self, name, result):
    self.job_results[str(name)] = str(result)


@dbus.service.method(MOCK_IFACE, in_signature='', out_signature='as')
def GetJobCalls(self):
    return self.job_calls
