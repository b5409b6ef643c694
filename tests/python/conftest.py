"""Shared set-up of the Python package's tests: the package imported from the build tree (ctest
sets PYTHONPATH), the source tree's example forms, and a check before each test that every
object the tests before it made was released (pytest keeps a test's fixtures until its teardown is
over, so the check runs at the next start)."""
import gc
import os
import pathlib

import pytest

import zorvaxp as zx

SOURCE = pathlib.Path(os.environ.get("ZXP_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))


@pytest.fixture
def examples():
    return SOURCE / "examples"


@pytest.fixture(autouse=True)
def all_released():
    if _failed:
        del _failed[:]
        return
    gc.collect()
    assert zx.can_unload(), "an object of the previous test is still alive in the library"


@pytest.fixture
def form():
    return zx.Form(caption="Test", width=6000, height=4500)


_failed = []


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    if outcome.get_result().failed:
        _failed.append(item.nodeid)  # its traceback keeps its objects alive: skip the next check
