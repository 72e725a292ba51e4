"""Idle cost of a wall-screen program: CPU share of one core and memory (PSS) of its whole process
tree, and the CPU share of the X server that shows it, on a virtual screen (1920x1080 unless
SCREEN=WxH is set), after a warm-up.  Usage: idle_cost.py WARMUP SECONDS SHOT.png -- CMD...
Prints: cpu_percent pss_mb processes xserver_cpu_percent.
The same measurement as the browser peer's measure_idle.py, with the X server's share added."""
import os, signal, subprocess, sys, time

warm, secs, shot = float(sys.argv[1]), float(sys.argv[2]), sys.argv[3]
cmd = sys.argv[sys.argv.index("--") + 1:]
disp = next(n for n in range(150, 199) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
xvfb = subprocess.Popen(["Xvfb", f":{disp}", "-screen", "0", os.environ.get("SCREEN", "1920x1080") + "x24", "-nolisten", "tcp", "-noreset"],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
env = dict(os.environ, DISPLAY=f":{disp}")
time.sleep(1.0)
app = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
hz = os.sysconf("SC_CLK_TCK")

def tree():
    pids = []
    for p in os.listdir("/proc"):
        if p.isdigit():
            try:
                if os.getsid(int(p)) == app.pid:
                    pids.append(int(p))
            except (ProcessLookupError, PermissionError):
                pass
    return pids

def cpu(pids):
    t = 0
    for p in pids:
        try:
            f = open(f"/proc/{p}/stat").read().rsplit(")", 1)[1].split()
            t += int(f[11]) + int(f[12])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return t

def pss(pids):
    kb = 0
    for p in pids:
        try:
            for line in open(f"/proc/{p}/smaps_rollup"):
                if line.startswith("Pss:"):
                    kb += int(line.split()[1])
        except (FileNotFoundError, ProcessLookupError, PermissionError):
            pass
    return kb / 1024

try:
    time.sleep(warm)
    subprocess.run(["import", "-window", "root", shot], env=env, stderr=subprocess.DEVNULL)
    pids = tree(); c0, x0, t0 = cpu(pids), cpu([xvfb.pid]), time.time()
    time.sleep(secs)
    pids = tree(); c1, x1, t1 = cpu(pids), cpu([xvfb.pid]), time.time()
    share = lambda a, b: (b - a) * 100 / hz / (t1 - t0)
    print(f"{share(c0, c1):.2f} {pss(pids):.1f} {len(pids)} {share(x0, x1):.2f}")
finally:
    try:
        os.killpg(app.pid, signal.SIGTERM)
    except ProcessLookupError:
        pass
    time.sleep(0.5)
    try:
        os.killpg(app.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    xvfb.terminate(); xvfb.wait()
