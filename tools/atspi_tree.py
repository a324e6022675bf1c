#!/usr/bin/python3
"""Prints what a screen reader is told of a running program's windows over AT-SPI: each window,
list, field and button with its role, name and the labels it is labelled by.
Usage: atspi_tree.py <application name>"""
import sys
import time

import gi

gi.require_version('Atspi', '2.0')
from gi.repository import Atspi  # noqa: E402

SHOWN = {'frame', 'dialog', 'combo box', 'text', 'push button', 'radio button', 'label', 'table',
         'check box', 'filler'}


def application(name):
    desktop = Atspi.get_desktop(0)
    for _ in range(50):
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app and app.get_name().lower() == name.lower():
                return app
        time.sleep(0.2)
    sys.exit(f'no application {name} on the accessibility bus')


def labels(node):
    names = []
    for relation in node.get_relation_set() or []:
        if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
            names += [relation.get_target(k).get_name() for k in range(relation.get_n_targets())]
    return names


def walk(node, depth=0):
    role = node.get_role_name()
    if role in SHOWN:
        by = labels(node)
        print('  ' * depth + f'{role} "{node.get_name()}"' + (f' labelled by {by}' if by else ''))
        depth += 1
    for i in range(node.get_child_count()):
        walk(node.get_child_at_index(i), depth)


walk(application(sys.argv[1]))
