// Kib's warm compiler: a JVM that keeps javac loaded and compiles on request,
// so that a compile costs the compilation and not the JDK's start.
//
// It talks to Kib over its standard input and output only. Every frame is one
// type byte, a big-endian 32-bit length and that many bytes.
//   Kib -> server  'C' compile: strings (each a 32-bit length and its bytes):
//                      java home, working folder, then the compiler's arguments
//                  'Q' quit
//   server -> Kib  'R' ready (after warming up): "key=value" lines
//                  'H' still compiling (every 200 ms while a compile runs)
//                  'O'/'E' bytes the compiler wrote to its standard output/error
//                  'X' the compile's exit status (4 bytes), the answer's end
//                  'N' not handled here (text): Kib runs the javac process
//                  'F' failed (text): Kib runs the javac process
// The compile is javac's own command-line entry point with System.out and
// System.err pointing at buffers in the encodings the javac launcher would
// write, so the bytes equal those of a javac process in the same folder with
// the same environment.
//
// It ends on end of input, when its parent process is gone, or after being
// idle for the given number of seconds.

import java.io.ByteArrayOutputStream;
import java.io.DataInputStream;
import java.io.DataOutputStream;
import java.io.EOFException;
import java.io.File;
import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.io.PrintStream;
import java.nio.charset.Charset;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import java.util.jar.Attributes;
import java.util.jar.JarFile;
import java.util.jar.Manifest;
import java.util.zip.ZipFile;

public final class KibCompileServer {
    static final int PROTOCOL = 1;
    static final String PROCESSOR_SERVICE = "META-INF/services/javax.annotation.processing.Processor";

    static DataOutputStream toKib;
    static final Object writeLock = new Object();
    static volatile boolean compiling;
    static volatile long lastUse = System.nanoTime();

    public static void main(String[] args) throws Exception {
        long parentPid = Long.parseLong(args[0]);
        long idleSeconds = Long.parseLong(args[1]);
        int warmups = args.length > 2 ? Integer.parseInt(args[2]) : 6;

        // The protocol owns the real standard output; whatever else prints
        // goes nowhere until a compile captures it.
        Charset outCharset = charsetOf(System.out, "stdout");
        Charset errCharset = charsetOf(System.err, "stderr");
        toKib = new DataOutputStream(new FileOutputStream(FileDescriptor.out));
        PrintStream nowhere = new PrintStream(OutputStream.nullOutputStream(), true);
        System.setOut(nowhere);
        System.setErr(nowhere);
        DataInputStream fromKib = new DataInputStream(System.in);
        System.setIn(InputStream.nullInputStream());

        startWatchdog(parentPid, idleSeconds);
        warmUp(warmups);

        String home = new File(System.getProperty("java.home")).getCanonicalPath();
        String dir = new File(System.getProperty("user.dir")).getCanonicalPath();
        send('R', ("protocol=" + PROTOCOL + "\njava.home=" + home + "\nuser.dir=" + dir + "\njava.version="
                   + System.getProperty("java.version") + "\npid=" + ProcessHandle.current().pid() + "\n")
                          .getBytes("UTF-8"));
        lastUse = System.nanoTime();

        while (true) {
            int type;
            byte[] payload;
            try {
                type = fromKib.readUnsignedByte();
                int length = fromKib.readInt();
                if (length < 0 || length > (64 << 20))
                    break;
                payload = new byte[length];
                fromKib.readFully(payload);
            } catch (EOFException e) {
                break;
            }
            if (type == 'Q')
                break;
            if (type != 'C') {
                send('F', ("unknown request " + type).getBytes("UTF-8"));
                continue;
            }
            lastUse = System.nanoTime();
            compiling = true;
            try {
                answer(payload, home, dir, outCharset, errCharset, nowhere);
            } catch (Throwable t) {
                // Out of memory, a broken compiler: Kib compiles with the process.
                System.setOut(nowhere);
                System.setErr(nowhere);
                send('F', String.valueOf(t).getBytes("UTF-8"));
            } finally {
                compiling = false;
                lastUse = System.nanoTime();
            }
        }
        toKib.flush();
        Runtime.getRuntime().halt(0);
    }

    // The charset System.out or System.err encodes in: the JDK's own answer
    // where it has one (18 and later), else what the JDK 17 launcher uses.
    static Charset charsetOf(PrintStream stream, String which) {
        try {
            return (Charset) PrintStream.class.getMethod("charset").invoke(stream);
        } catch (ReflectiveOperationException e) {
            String name = System.getProperty("sun." + which + ".encoding");
            try {
                if (name != null)
                    return Charset.forName(name);
            } catch (RuntimeException bad) {
                // fall through to the default
            }
            return Charset.defaultCharset();
        }
    }

    static void answer(byte[] payload, String home, String dir, Charset outCharset, Charset errCharset,
                       PrintStream nowhere) throws IOException {
        List<byte[]> fields = strings(payload);
        if (fields == null || fields.size() < 3) {
            send('F', "malformed request".getBytes("UTF-8"));
            return;
        }
        Charset jnu = Charset.forName(System.getProperty("sun.jnu.encoding", Charset.defaultCharset().name()));
        String[] text = new String[fields.size()];
        for (int i = 0; i < text.length; ++i) {
            text[i] = new String(fields.get(i), jnu);
            // A name the platform encoding cannot carry unchanged would not
            // reach javac as the process gets it.
            if (!Arrays.equals(text[i].getBytes(jnu), fields.get(i))) {
                send('N', "argument not representable".getBytes("UTF-8"));
                return;
            }
        }
        if (!text[0].equals(home)) {
            send('F', ("asked for " + text[0] + ", running " + home).getBytes("UTF-8"));
            return;
        }
        if (!text[1].equals(dir)) {
            send('N', ("working folder " + dir).getBytes("UTF-8"));
            return;
        }
        String[] javacArgs = Arrays.copyOfRange(text, 2, text.length);
        String refusal = unsupported(javacArgs);
        if (refusal != null) {
            send('N', refusal.getBytes("UTF-8"));
            return;
        }

        Capture capture = new Capture();
        PrintStream out = new PrintStream(capture.stream('O'), true, outCharset.name());
        PrintStream err = new PrintStream(capture.stream('E'), true, errCharset.name());
        int status;
        System.setOut(out);
        System.setErr(err);
        try {
            status = com.sun.tools.javac.Main.compile(javacArgs);
        } finally {
            out.flush();
            err.flush();
            System.setOut(nowhere);
            System.setErr(nowhere);
        }
        synchronized (writeLock) {
            for (Capture.Piece piece : capture.pieces)
                frame(piece.type, piece.bytes.toByteArray());
            byte[] code = {(byte) (status >>> 24), (byte) (status >>> 16), (byte) (status >>> 8), (byte) status};
            frame('X', code);
            toKib.flush();
        }
    }

    // Why the arguments are for the javac process, or null. Only the switches
    // Kib's compile command builds are taken; an annotation processor on the
    // class path would run inside this JVM, and a class-path wildcard is the
    // launcher's business.
    static String unsupported(String[] args) {
        Set<String> bare = new HashSet<>(Arrays.asList("-g", "-O", "-nowarn", "-verbose", "-deprecation"));
        Set<String> valued = new HashSet<>(Arrays.asList("-classpath", "-sourcepath", "-encoding", "-d"));
        String classPath = null;
        int sources = 0;
        for (int i = 0; i < args.length; ++i) {
            String a = args[i];
            if (bare.contains(a))
                continue;
            if (valued.contains(a)) {
                if (++i >= args.length)
                    return "missing value of " + a;
                if (a.equals("-classpath"))
                    classPath = args[i];
                continue;
            }
            if (a.startsWith("-") || a.startsWith("@") || !a.endsWith(".java"))
                return "argument " + a;
            ++sources;
        }
        if (sources != 1)
            return "not one source file";
        if (classPath == null)
            return "no class path";
        if (classPath.contains("*"))
            return "class-path wildcard";
        Set<Path> seen = new HashSet<>();
        for (String entry : classPath.split(File.pathSeparator, -1))
            if (hasProcessor(Paths.get(entry.isEmpty() ? "." : entry), seen))
                return "annotation processor on the class path";
        return null;
    }

    static boolean hasProcessor(Path entry, Set<Path> seen) {
        Path abs = entry.toAbsolutePath().normalize();
        if (!seen.add(abs))
            return false;
        if (Files.isDirectory(abs))
            return Files.exists(abs.resolve(PROCESSOR_SERVICE));
        if (!Files.isRegularFile(abs))
            return false;
        try (JarFile jar = new JarFile(abs.toFile())) {
            if (jar.getEntry(PROCESSOR_SERVICE) != null)
                return true;
            Manifest manifest = jar.getManifest();
            String more = manifest == null ? null : manifest.getMainAttributes().getValue(Attributes.Name.CLASS_PATH);
            if (more != null)
                for (String name : more.trim().split("\\s+"))
                    if (!name.isEmpty() && hasProcessor(abs.resolveSibling(name), seen))
                        return true;
        } catch (IOException | RuntimeException e) {
            // Not a jar javac can use either.
        }
        return false;
    }

    static List<byte[]> strings(byte[] p) {
        List<byte[]> out = new ArrayList<>();
        int at = 0;
        while (at < p.length) {
            if (p.length - at < 4)
                return null;
            int n = ((p[at] & 0xff) << 24) | ((p[at + 1] & 0xff) << 16) | ((p[at + 2] & 0xff) << 8) | (p[at + 3] & 0xff);
            at += 4;
            if (n < 0 || n > p.length - at)
                return null;
            out.add(Arrays.copyOfRange(p, at, at + n));
            at += n;
        }
        return out;
    }

    static void send(char type, byte[] payload) throws IOException {
        synchronized (writeLock) {
            frame(type, payload);
            toKib.flush();
        }
    }

    static void frame(char type, byte[] payload) throws IOException {
        toKib.writeByte(type);
        toKib.writeInt(payload.length);
        toKib.write(payload);
    }

    // Output in the order it was written, as runs of one stream each.
    static final class Capture {
        static final class Piece {
            final char type;
            final ByteArrayOutputStream bytes = new ByteArrayOutputStream();
            Piece(char type) { this.type = type; }
        }
        final List<Piece> pieces = new ArrayList<>();

        synchronized void write(char type, byte[] b, int off, int len) {
            if (len == 0)
                return;
            Piece last = pieces.isEmpty() ? null : pieces.get(pieces.size() - 1);
            if (last == null || last.type != type) {
                last = new Piece(type);
                pieces.add(last);
            }
            last.bytes.write(b, off, len);
        }

        OutputStream stream(char type) {
            return new OutputStream() {
                @Override public void write(int b) { Capture.this.write(type, new byte[] {(byte) b}, 0, 1); }
                @Override public void write(byte[] b, int off, int len) { Capture.this.write(type, b, off, len); }
            };
        }
    }

    // Heartbeats while compiling; the end when the parent is gone or after the
    // idle time. A reparented server (its parent killed) notices within half
    // a second even while a descendant of the parent keeps the pipe open.
    static void startWatchdog(long parentPid, long idleSeconds) {
        Thread t = new Thread(() -> {
            int tick = 0;
            while (true) {
                try {
                    Thread.sleep(200);
                } catch (InterruptedException e) {
                    return;
                }
                if (compiling) {
                    try {
                        send('H', new byte[0]);
                    } catch (IOException e) {
                        Runtime.getRuntime().halt(0);
                    }
                }
                if (++tick % 3 == 0) {
                    long parent = ProcessHandle.current().parent().map(ProcessHandle::pid).orElse(-1L);
                    if (parent != parentPid)
                        Runtime.getRuntime().halt(0);
                    if (!compiling && System.nanoTime() - lastUse > idleSeconds * 1_000_000_000L)
                        Runtime.getRuntime().halt(0);
                }
            }
        }, "kib-watchdog");
        t.setDaemon(true);
        t.start();
    }

    // A few throwaway compiles in a temporary folder, so that the first real
    // one already finds javac's code compiled.
    static void warmUp(int rounds) {
        if (rounds <= 0)
            return;
        Path tmp = null;
        try {
            tmp = Files.createTempDirectory("kib-warm");
            Path src = tmp.resolve("KibWarm.java");
            Files.write(src, WARM_SOURCE.getBytes("UTF-8"));
            String[] args = {"-d", tmp.toString(), "-Xlint:all", "-g", src.toString()};
            for (int i = 0; i < rounds; ++i)
                com.sun.tools.javac.Main.compile(args);
        } catch (Throwable e) {
            // A failed warm-up only costs time in the first compile.
        } finally {
            if (tmp != null)
                deleteTree(tmp.toFile());
        }
    }

    static void deleteTree(File f) {
        File[] children = f.listFiles();
        if (children != null)
            for (File c : children)
                deleteTree(c);
        f.delete();
    }

    static final String WARM_SOURCE =
        "import java.util.*;\n"
        + "import java.util.function.*;\n"
        + "public class KibWarm {\n"
        + "    interface Shape { double area(); }\n"
        + "    record Box(double w, double h) implements Shape { public double area() { return w * h; } }\n"
        + "    enum Colour { RED, GREEN }\n"
        + "    static <T extends Comparable<T>> T max(List<T> xs) { T m = xs.get(0); for (T x : xs) if (x.compareTo(m) > 0) m = x; return m; }\n"
        + "    @Deprecated static void old() {}\n"
        + "    public static void main(String[] args) throws Exception {\n"
        + "        Map<String, List<Integer>> m = new HashMap<>();\n"
        + "        m.computeIfAbsent(\"a\", k -> new ArrayList<>()).add(args.length);\n"
        + "        Function<Integer, String> f = i -> \"#\" + i;\n"
        + "        StringBuilder sb = new StringBuilder();\n"
        + "        for (var e : m.entrySet()) sb.append(e.getKey()).append(f.apply(e.getValue().size()));\n"
        + "        switch (Colour.values()[args.length % 2]) { case RED: sb.append('r'); break; default: sb.append('g'); }\n"
        + "        List raw = new ArrayList(); raw.add(1);\n"
        + "        try { Object o = new Box(1, 2); if (o instanceof Box b) sb.append(b.area()); } catch (RuntimeException x) { throw x; }\n"
        + "        System.out.println(sb + String.valueOf(max(Arrays.asList(3, 1, 2))));\n"
        + "    }\n"
        + "}\n";
}
